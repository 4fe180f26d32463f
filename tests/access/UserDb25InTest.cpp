#include "UserDbImages.h"
#include "UserDbImportTest.h"

#include "access/CAccessUserDb25In.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

#include <gtest/gtest.h>

#include <optional>

using testsupport::ByteBuilder;

namespace core {

using namespace UserDbImages;

namespace {

// A 2.5 block header, its offset table (entries of width bytes) and its end word.
struct Block
{
    std::size_t at; // from the area start
    std::uint32_t type;
    std::uint32_t next;
    std::vector<std::uint32_t> offsets;
    std::uint8_t slot = 1;
    std::uint16_t recordSize = 48;
    std::uint8_t width = 4;
};

Bytes HeaderBytes(const Block& h)
{
    ByteBuilder b;
    b.U32(kMagic).U32(h.next).U32(h.type).U32(0).U16(0);
    b.U16(static_cast<std::uint16_t>(h.offsets.size())).U16(h.recordSize).U16(0).U16(0).U8(h.width).U8(h.slot);
    for (const std::uint32_t offset : h.offsets) {
        for (unsigned i = 0; i < h.width; ++i) {
            b.U8(i < 4 ? static_cast<std::uint8_t>(offset >> (8 * i)) : 0);
        }
    }
    b.PadTo(28 + 4 * (h.offsets.size() * h.width / 4));
    b.U32(kEnd);
    return b.Bytes();
}

struct Placed
{
    std::size_t at;
    Bytes bytes;
};

// An area of erased flash holding the blocks and the records where they say.
Bytes Area25(const std::vector<Block>& blocks, const std::vector<Placed>& records = {}, std::size_t size = 0x800)
{
    Bytes area(size, 0xFF);
    const auto put
        = [&](std::size_t at, const Bytes& bytes) { std::copy(bytes.begin(), bytes.end(), area.begin() + at); };
    for (const Block& h : blocks) {
        put(h.at, HeaderBytes(h));
    }
    for (const Placed& r : records) {
        put(r.at, r.bytes);
    }
    return area;
}

Bytes Sat25(std::uint32_t w0, std::uint32_t lnbWord, std::uint32_t w8, std::string_view name = "")
{
    return Record({w0, lnbWord, w8}, name, 16);
}

Bytes Tp25(std::uint32_t w0, std::uint32_t w4, std::uint32_t w8, std::uint32_t w12)
{
    return Words({w0, w4, w8, w12});
}

Bytes Prog25(std::initializer_list<std::uint32_t> words, std::string_view name = "")
{
    Bytes r = Words(words, 28);
    ByteBuilder b;
    b.FixedText(name, 20);
    r.insert(r.end(), b.Bytes().begin(), b.Bytes().end());
    return r;
}

Bytes Cut(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

std::optional<std::size_t> Find(const Bytes& area, std::uint64_t store, std::uint32_t type)
{
    const auto h = CAccessUserDb25In::FindBlock25(FlashArea(area), store, type);
    return h ? std::optional<std::size_t>(h->offset) : std::nullopt;
}

TEST(UserDb25FindBlockTest, SlotWalkAndChainLeadToTheTable)
{
    struct Case
    {
        const char* name;
        Bytes area;
        std::uint64_t store;
        std::uint32_t type;
        std::optional<std::size_t> found;
    };
    const std::vector<std::uint32_t> four{0, 0, 0, 0};
    const std::vector<Block> slots48{{0, 0, kNone, four}, {48, 1, kNone, four}, {96, 2, kNone, four}};
    const std::vector<Block> fullSlots{{0, 0, kNone, {0}}, {224, 1, kNone, {0}}, {448, 2, kNone, {0}}};
    const std::vector<Block> rewritten{{0, 0, 0x200, {0}}, {0x200, 0, 0x300, {0}, 0}, {0x300, 0, kNone, {0}, 0}};
    const std::vector<Block> shifted{
        {0x40, 0, 0x200, {0}}, {0x240, 0, 0x300, {0}, 0}, {0x340, 0, kNone, {0}, 0}, {0x300, 0, kNone, {0}, 0}};
    const Case cases[] = {
        {"first slot", Area25(slots48), 0, 0, 0},
        {"slot stride of 48 bytes", Area25(slots48), 0, 1, 48},
        {"third slot", Area25(slots48), 0, 2, 96},
        {"slots a full 224 bytes apart", Area25(fullSlots), 0, 2, 448},
        {"table rewritten twice is read from its last block", Area25(rewritten), 0, 0, 0x300},
        {"next offsets count from the store start", Area25(shifted), 0x40, 0, 0x340},
        {"type absent from the store", Area25({{0, 0, kNone, {0}}, {36, 7, kNone, {0}, 0}}), 0, 2, std::nullopt},
        {"chain that loops",
         Area25({{0, 0, 0x100, {0}}, {0x100, 0, 0x200, {}, 0}, {0x200, 0, 0x100, {0}, 0}}),
         0,
         0,
         std::nullopt},
        {"chain leaving the area", Area25({{0, 0, 0x7FFFFFF0, {0}}}), 0, 0, std::nullopt},
        {"chain ending without the magic", Area25({{0, 0, 0x100, {0}}}), 0, 0, std::nullopt},
        {"empty table with its end word", Area25({{0, 2, kNone, {}}}), 0, 2, 0},
        {"empty table without its end word", Area25({{0, 2, kNone, {}}}, {{28, Words({0})}}), 0, 2, std::nullopt},
        {"store start without the magic", Area25({{0x40, 0, kNone, {0}}}), 0, 0, std::nullopt},
        {"chain back to another table's slot", Area25({{0, 0, kNone, {0}}, {36, 1, 0, {0}}}), 0, 1, std::nullopt},
        {"chain end in another table's slots walks on to the table",
         Area25({{0, 2, 0x200, {0}}, {0x200, 0, kNone, four}, {0x230, 2, kNone, {0}, 0}}),
         0,
         2,
         0x230},
        {"store at the very end of the area", Area25({{0x7E0, 0, kNone, {}}}, {}, 0x7E0 + 32), 0x7E0, 0, 0x7E0},
        {"header cut by the end of the area", Cut(Area25({{0x7E0, 0, kNone, {}}}), 0x7E0 + 27), 0x7E0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Find(c.area, c.store, c.type), c.found);
    }
}

TEST(UserDb25FindBlockTest, StoreStartIsTheFirstSoundHeader)
{
    struct Case
    {
        const char* name;
        Bytes area;
        std::uint64_t start;
    };
    const Case cases[] = {
        {"header at the area start", Area25({{0, 0, kNone, {0x100}}}), 0},
        {"empty table with its end word", Area25({{8, 0, kNone, {}}}), 8},
        {"empty table without its end word is passed over",
         Area25({{8, 0, kNone, {}}, {0x40, 0, kNone, {0x100}}}, {{8 + 28, Words({0})}}),
         0x40},
        {"magic off the 4-byte grid is not looked at", Area25({{6, 0, kNone, {1}}, {0x40, 1, kNone, {1}}}), 0x40},
        {"no header at all", Bytes(0x100, 0xFF), 0},
        {"magic in the last word", Area25({}, {{0xFC, Words({kMagic})}}, 0x100), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CAccessUserDb25In::FindStoreStart(FlashArea(c.area)), c.start);
    }
}

class UserDb25InTest : public UserDbImportTest<CAccessUserDb25In>
{ };

TEST_F(UserDb25InTest, FailuresFollowTheFailureTable)
{
    const Bytes image = Image(Area25({{0, 0, kNone, {0x100}}}, {{0x100, Sat25(0, 0, 0)}}), 0x1000);
    struct Case
    {
        const char* name;
        std::string path;
        std::uint32_t address;
        bool result;
        const char* message;
    };
    const std::string path = dir.Write("flash.bin", image);
    const Case cases[] = {
        {"address 0 (Auto or cancel)", path, 0, false, ""},
        {"address 0 before the file is looked at", dir.File("missing.bin"), 0, false, ""},
        {"file cannot be opened", dir.File("missing.bin"), 0x1000, false, ""},
        {"address at the file length", path, static_cast<std::uint32_t>(image.size()), false, "File size error!"},
        {"address beyond the file length", path, 0xFFFFFFFF, false, "File size error!"},
        {"address at the last byte", path, static_cast<std::uint32_t>(image.size() - 1), true, ""},
        {"store at the address", path, 0x1000, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearPendingError();
        db.Clear();
        hooks.QueueAddress(c.address);
        EXPECT_EQ(CAccessUserDb25In().Import(c.path, db), c.result);
        EXPECT_EQ(PendingError().text, c.message);
        EXPECT_EQ(db.Sats().Count(), std::string_view(c.name) == "store at the address" ? 1u : 0u);
    }
}

TEST_F(UserDb25InTest, RecordExamplesAndFieldsComeFromTheirBits)
{
    // Leading junk with the magic but no count and no end word, then the store at 0x20.
    const Bytes area = Area25({{0x20, 0, kNone, {0x200, 0x220}},
                               {0x20 + 40, 1, kNone, {0x300, 0x310}, 1, 16},
                               {0x20 + 80, 2, kNone, {0x400, 0x430, 0x460}}},
                              {{0, Words({kMagic, 0, 0, 0, 0, 0, 0, 0})},
                               {0x200,
                                Sat25((9u << 16) | (1234u << 1) | 1u,
                                      (((10600u << 2) | 0u) << 16) | 0x9859u,
                                      1u | (2u << 1) | (0xABu << 8) | (5u << 16) | (2u << 28),
                                      "ABCDEFGHIJKLMNOPQ")},
                               {0x220, Sat25(~0u, ~0u, ~0u)},
                               {0x300, Tp25(0x0003000B, 1, 12000, 27500)},
                               {0x310, Tp25(0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFC000, 0xFFFF0000)},
                               {0x400,
                                Prog25({0xABCD0007u,
                                        (0x4321u << 16) | 0xFFFFu,
                                        (1u << 4) | (0x1ABCu << 6) | (0x0123u << 19),
                                        (0x0456u << 6) | (0x1DEFu << 19),
                                        1u << 31,
                                        3u << 3,
                                        2u << 16},
                                       "ABCDEFGHIJKLMNOPQRSTUV")},
                               {0x430, Prog25({0, 0, 1u << 5, 0, 0, 0, 1u << 16})},
                               {0x460, Prog25({0, 0, 0, 0, 0x7FFFFFFF, ~(3u << 3), 0x0000FFFF})}});
    ASSERT_TRUE(Import(Image(area, 0x4000), 0x4000));

    ASSERT_EQ(db.Sats().Count(), 2u);
    const CSatNode& s = *db.Sats().begin();
    EXPECT_EQ(s.Id(), 9);
    EXPECT_EQ(s.Direction(), 1u);
    EXPECT_EQ(s.Longitude(), 1234u);
    EXPECT_EQ(s.Tone22K(), 1u); // half-word 0x9859: tone 1, 9750 MHz
    EXPECT_EQ(s.LocalFre2(), 3u);
    EXPECT_EQ(s.LocalFre1(), 5u);
    EXPECT_EQ(s.Switch12V(), 1u);
    EXPECT_EQ(s.LnbType(), 2u);
    EXPECT_EQ(s.DiSEqC12(), 0xABu);
    EXPECT_EQ(s.DiSEqC(), 5u);
    EXPECT_EQ(s.DisEqCMotor(), 2u);
    EXPECT_EQ(s.Name(), "ABCDEFGHIJKLMNO");
    const CSatNode& all = *std::next(db.Sats().begin());
    EXPECT_EQ(all.Id(), 0xFFFF);
    EXPECT_EQ(all.Longitude(), 2047u);
    EXPECT_EQ(all.Tone22K() + all.LocalFre1() + all.LocalFre2() + all.LnbType() + all.DisEqCMotor(),
              3u + 15 + 15 + 3 + 3);
    EXPECT_EQ(all.DiSEqC12() + all.DiSEqC() + all.Switch12V(), 255u + 7 + 1);
    EXPECT_EQ(all.TunerSel() + all.VideoType() + all.AudioType() + all.FirstTpIndex() + all.TpCount(), 0u);

    ASSERT_EQ(db.Tps().Count(), 2u);
    const CTpNode& tp = *db.Tps().begin();
    EXPECT_EQ(tp.Id(), 11);
    EXPECT_EQ(tp.ParentId(), 3);
    EXPECT_EQ(tp.Polar(), 1u);
    EXPECT_EQ(tp.Frequency(), 12000u);
    EXPECT_EQ(tp.SymbolRate(), 27500u);
    EXPECT_EQ(tp.ExtraFlag(), 0u);
    EXPECT_EQ(std::next(db.Tps().begin())->TpRecord(), 0u); // only unused bits set

    ASSERT_EQ(db.Progs().Count(), 3u);
    auto it = db.Progs().begin();
    const CProgNode& p = *it++;
    EXPECT_EQ(p.Id(), 0);
    EXPECT_EQ(p.ParentId(), 7);
    EXPECT_EQ(p.ServiceId(), 0x4321u);
    EXPECT_EQ(p.Scramble(), 1u);
    EXPECT_EQ(p.Lock(), 0u);
    EXPECT_EQ(p.PCRPID(), 0x1ABCu);
    EXPECT_EQ(p.VPID(), 0x0123u);
    EXPECT_EQ(p.PmtPid(), 0x0456u);
    EXPECT_EQ(p.APID(), 0x1DEFu);
    EXPECT_EQ(p.Skip(), 1u);
    EXPECT_EQ(p.Track(), 3u);
    EXPECT_EQ(p.AvType(), 0u); // service kind 2
    EXPECT_EQ(p.FavType(), 0u);
    EXPECT_EQ(p.ProgName(), "ABCDEFGHIJKLMNOPQRST");
    const CProgNode& q = *it++;
    EXPECT_EQ(q.Id(), 1);
    EXPECT_EQ(q.Lock(), 1u);
    EXPECT_EQ(q.Scramble(), 0u);
    EXPECT_EQ(q.AvType(), 1u); // service kind 1
    const CProgNode& r = *it++;
    ProgRecord onlyAvType; // only unused bits set; service kind 0 gives AvType 1
    onlyAvType.Set(ProgField::AvType, 1);
    EXPECT_EQ(r.Record(), onlyAvType);
}

TEST_F(UserDb25InTest, OffsetTableWidthAndBoundsDecideWhichRecordsAreRead)
{
    const Bytes sat = Sat25(0x00010000, 0, 0, "S");
    struct Case
    {
        const char* name;
        Block header;
        std::uint32_t sats;
    };
    const Case cases[] = {
        {"4-byte entries", {0, 0, kNone, {0x100, 0x120}, 1, 28}, 2},
        {"2-byte entries", {0, 0, kNone, {0x100, 0x120, 0x100}, 1, 28, 2}, 3},
        {"1-byte entries", {0, 0, kNone, {0x80}, 1, 28, 1}, 1},
        {"8-byte entries", {0, 0, kNone, {0x100, 0x120}, 1, 28, 8}, 2},
        {"width 0 has no entries", {0, 0, kNone, {0x100, 0x120}, 1, 28, 0}, 0},
        {"record offset outside the area", {0, 0, kNone, {0x100, 0x7FFFFFF0, 0xFFFFFFF0}, 1, 28}, 1},
        {"record running past the area", {0, 0, kNone, {0x100, 0x800 - 16}, 1, 28}, 1},
        {"record size shorter than the layout", {0, 0, kNone, {0x100}, 1, 8}, 1},
        {"record size far beyond the area", {0, 0, kNone, {0x100}, 1, 0xFFFF}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.Clear();
        ASSERT_TRUE(Import(Image(Area25({c.header}, {{0x80, sat}, {0x100, sat}, {0x120, sat}}), 0x10), 0x10));
        EXPECT_EQ(db.Sats().Count(), c.sats);
        for (const CSatNode& s : db.Sats()) {
            EXPECT_EQ(s.Name(), c.header.recordSize >= 28 ? "S" : "");
            EXPECT_EQ(s.Id(), c.header.recordSize >= 4 ? 1 : 0);
        }
    }
}

TEST_F(UserDb25InTest, OffsetTableCutByTheEndOfTheAreaGivesTheEntriesThatAreThere)
{
    const Bytes sat = Sat25(0x00010000, 0, 0, "S");
    for (const std::uint8_t width : {1, 2, 4, 8}) {
        SCOPED_TRACE(static_cast<int>(width));
        // Three entries claimed; the area ends just after the first one.
        const Bytes area = Area25({{0x7C0, 0, kNone, {0x100, 0x100, 0x100}, 1, 28, width}}, {{0x100, sat}}, 0x840);
        db.Clear();
        ASSERT_TRUE(Import(Image(Cut(area, 0x7C0 + 28 + std::min<std::size_t>(width, 4)), 0x10), 0x10));
        EXPECT_EQ(db.Sats().Count(), 1u);
        // The two entries past the end are reported; the missing tables after the cut are not.
        EXPECT_EQ(importer.Damage().records, 2u);
        EXPECT_EQ(importer.Damage().tables, 0u);
    }
}

TEST_F(UserDb25InTest, ImageInMemoryReadsLikeTheFile)
{
    const Bytes image
        = Image(Area25({{0, 1, kNone, {0x100}, 1, 16}}, {{0x100, Tp25(0x0003000B, 1, 12000, 27500)}}), 0x10);
    ASSERT_TRUE(Import(image, 0x10));
    CProgDb fromMemory;
    ASSERT_TRUE(CAccessUserDb25In().ImportImage(image, 0x10, fromMemory));
    ASSERT_EQ(fromMemory.Tps().Count(), 1u);
    EXPECT_EQ(fromMemory.Tps().begin()->TpRecord(), db.Tps().begin()->TpRecord());
    EXPECT_FALSE(CAccessUserDb25In().ImportImage(image, 0, fromMemory));
    EXPECT_FALSE(PendingError().pending);
}

} // namespace

} // namespace core
