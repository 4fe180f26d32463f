#include "UserDbImages.h"
#include "UserDbImportTest.h"

#include "access/CAccessUserDbIn.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "db/LnbFreqTable.h"

#include <gtest/gtest.h>

using testsupport::ByteBuilder;

namespace core {

using namespace UserDbImages;

namespace {

constexpr std::uint32_t kSatType = 1;
constexpr std::uint32_t kTpType = 2;
constexpr std::uint32_t kProgType = 3;

Bytes Sat(
    std::uint32_t w0, std::uint32_t w4 = 0, std::uint32_t w8 = 0, std::uint32_t w12 = 0, std::string_view name = "")
{
    return Record({w0, w4, w8, w12}, name, 16);
}

Bytes Tp(std::uint32_t w0, std::uint32_t w4 = 0, std::uint32_t w8 = 0)
{
    return Words({w0, w4, w8});
}

Bytes Prog(std::initializer_list<std::uint32_t> words, std::string_view name = "")
{
    Bytes r = Words(words, 28);
    ByteBuilder b;
    b.FixedText(name, 20);
    r.insert(r.end(), b.Bytes().begin(), b.Bytes().end());
    return r;
}

// A small database: one satellite (id 5), one transponder (id 10 on 5), two programs on 10.
std::vector<Table> SmallTables()
{
    return {
        {kSatType, {Sat(0x00050191, 0, 0, 0, "Astra")}, 32},
        {kTpType, {Tp(0x0005000A, 0x2EE06B6C, 0x0000000C)}, 12},
        {kProgType, {Prog({10}, "One"), Prog({10}, "Two")}, 48},
    };
}

class UserDbInTest : public UserDbImportTest<CAccessUserDbIn>
{
protected:
    // What the last import could not read, as {tables, records}.
    std::pair<std::uint32_t, std::uint32_t> Damage() const
    {
        return {importer.Damage().tables, importer.Damage().records};
    }
};

TEST_F(UserDbInTest, MarkerIsLookedForIn64KiBStepsFromTheAddress)
{
    struct Case
    {
        const char* name;
        std::uint32_t address;
        std::size_t markerAt;
        std::size_t imageSize;
        bool found;
    };
    const Case cases[] = {
        {"auto, found after 18 steps", 0, 0x120000, 0, true},
        {"found at the second step", 0x110000, 0x120000, 0, true},
        {"steps pass the marker by", 0x118000, 0x120000, 0, false},
        {"marker at the address itself", 0x20, 0x20, 0x400, true},
        {"marker behind the address only", 0x20, 0x10, 0x400, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.Clear();
        ASSERT_TRUE(Import(Image(Area(SmallTables()), c.markerAt, c.imageSize), c.address));
        EXPECT_EQ(db.Sats().Count(), c.found ? 1u : 0u);
        EXPECT_EQ(db.Progs().Count(), c.found ? 2u : 0u);
        EXPECT_FALSE(PendingError().pending);
    }
    EXPECT_EQ(hooks.addressQuestions, 5);
}

TEST_F(UserDbInTest, FailuresFollowTheFailureTable)
{
    // An unopenable file fails without a message of its own.
    hooks.QueueAddress(0);
    EXPECT_FALSE(CAccessUserDbIn().Import(dir.File("missing.bin"), db));
    EXPECT_FALSE(PendingError().pending);
    EXPECT_FALSE(CAccessUserDbIn().Import(dir.Path(), db)); // a folder is no image either
    EXPECT_FALSE(PendingError().pending);

    const Bytes image = Image(Area(SmallTables()), 0, 0x100);
    for (const std::uint32_t address : {0x100u, 0x101u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(address);
        ClearPendingError();
        EXPECT_FALSE(Import(image, address));
        EXPECT_EQ(PendingError().text, "File size error!");
        EXPECT_TRUE(db.IsEmpty());
    }

    // No marker anywhere: success with an empty database; so is a marker cut by the file end.
    ClearPendingError();
    EXPECT_TRUE(Import(Bytes(0x30000, 0xFF), 0));
    EXPECT_TRUE(Import(Bytes{0xFF, 0xDD, 0xCC, 0xBB}, 1));
    EXPECT_TRUE(db.IsEmpty());
    EXPECT_FALSE(PendingError().pending);
}

TEST_F(UserDbInTest, RecordExamplesGiveTheirFields)
{
    ASSERT_TRUE(Import(Area(SmallTables()), 0));
    ASSERT_EQ(db.Sats().Count(), 1u);
    const CSatNode& sat = *db.Sats().begin();
    EXPECT_EQ(sat.Id(), 5);
    EXPECT_EQ(sat.Longitude(), 200u);
    EXPECT_EQ(sat.Direction(), 1u);
    EXPECT_EQ(sat.Name(), "Astra");

    ASSERT_EQ(db.Tps().Count(), 1u);
    const CTpNode& tp = *db.Tps().begin();
    EXPECT_EQ(tp.Id(), 10);
    EXPECT_EQ(tp.ParentId(), 5);
    EXPECT_EQ(tp.Frequency(), 12000u);
    EXPECT_EQ(tp.SymbolRate(), 27500u);
    EXPECT_EQ(tp.Polar(), 1u);
    EXPECT_EQ(tp.ExtraFlag(), 1u);

    // Programs keep the ids the list gives them and hang under the receiver's transponder id.
    std::vector<std::pair<std::int32_t, std::int32_t>> progs;
    for (const CProgNode& p : db.Progs()) {
        progs.emplace_back(p.Id(), p.ParentId());
    }
    EXPECT_EQ(progs, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 10}, {1, 10}}));
    // The receiver's ids replace the assigned ones, yet the lists still count from 0.
    EXPECT_EQ(db.Sats().LastId(), 0);
    EXPECT_EQ(db.Tps().LastId(), 0);
    EXPECT_EQ(db.Sats().Find(5), &sat);
    EXPECT_EQ(db.Tps().Find(10), &tp);
}

TEST_F(UserDbInTest, SatelliteFieldsComeFromTheirBits)
{
    struct Case
    {
        const char* name;
        Bytes record;
        std::int32_t id;
        std::uint32_t direction, longitude, fre1, fre2, switch12v, tone22k, diseqc, diseqc12, motor, lnbType;
        std::string satName;
    };
    const Case cases[] = {
        {"distinct values",
         Sat((7u << 16) | (1234u << 1) | 1u,
             (10600u << 16) | 9750u,
             1u | (2u << 3) | (5u << 5) | (0xABu << 16) | (2u << 30),
             2u << 27,
             "ABCDEFGHIJKLMNO"),
         7,
         1,
         1234,
         5,
         3,
         1,
         2,
         5,
         0xAB,
         2,
         2,
         "ABCDEFGHIJKLMNO"},
        {"only unused bits set",
         Sat(0x0000F000, 0, ~(1u | (3u << 3) | (7u << 5) | (0xFFu << 16) | (3u << 30)), ~(3u << 27), ""),
         0,
         0,
         0,
         15,
         15,
         0,
         0,
         0,
         0,
         0,
         0,
         ""},
        {"every bit set", Sat(~0u, ~0u, ~0u, ~0u, ""), 0xFFFF, 1, 2047, 15, 15, 1, 3, 7, 0xFF, 3, 3, ""},
        {"LNB frequencies 9000 and 5150", Sat(0, (9000u << 16) | 5150u), 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.Clear();
        ASSERT_TRUE(Import(Area({{kSatType, {c.record}, 32}}), 0));
        ASSERT_EQ(db.Sats().Count(), 1u);
        const CSatNode& s = *db.Sats().begin();
        EXPECT_EQ(s.Id(), c.id);
        EXPECT_EQ(s.ParentId(), InvalidId);
        EXPECT_EQ(s.Direction(), c.direction);
        EXPECT_EQ(s.Longitude(), c.longitude);
        EXPECT_EQ(s.LocalFre1(), c.fre1);
        EXPECT_EQ(s.LocalFre2(), c.fre2);
        EXPECT_EQ(s.Switch12V(), c.switch12v);
        EXPECT_EQ(s.Tone22K(), c.tone22k);
        EXPECT_EQ(s.DiSEqC(), c.diseqc);
        EXPECT_EQ(s.DiSEqC12(), c.diseqc12);
        EXPECT_EQ(s.DisEqCMotor(), c.motor);
        EXPECT_EQ(s.LnbType(), c.lnbType);
        EXPECT_EQ(s.Name(), c.satName);
        // Nothing the user database lacks is made up.
        EXPECT_EQ(s.TunerSel() + s.VideoType() + s.AudioType() + s.FirstTpIndex() + s.TpCount(), 0u);
        EXPECT_EQ(s.Select(), 0);
    }
    // An unknown LNB frequency is kept as index 15, which shows as 5150.
    EXPECT_EQ(LnbIndexToMHz(db.Sats().begin()->LocalFre1()), 5150u);
}

TEST_F(UserDbInTest, AFifteenByteNameWithoutTerminatorIsReadWhole)
{
    Bytes record = Sat(0);
    for (std::size_t i = 16; i < 32; ++i) {
        record[i] = 'x'; // the 16th name byte is not part of the name
    }
    ASSERT_TRUE(Import(Area({{kSatType, {record}, 32}}), 0));
    EXPECT_EQ(db.Sats().begin()->Name(), std::string(15, 'x'));
}

TEST_F(UserDbInTest, ProgramFieldsComeFromTheirBits)
{
    const Bytes distinct = Prog({0xABCD1234u,
                                 (0x4321u << 16) | 0x5555u,
                                 2u | (0x1ABCu << 6) | (0x0123u << 19),
                                 (0x0456u << 6) | (0x1DEFu << 19),
                                 (1u << 15) | (1u << 18) | (1u << 20),
                                 0xDEADBEEFu,
                                 0xFFFFFFFFu},
                                "ABCDEFGHIJKLMNOPQRSTUVWX");
    const Bytes unused = Prog({0, 0x0000FFFFu, ~(3u | (0x3FFFFFFu << 6)), ~(0x3FFFFFFu << 6), ~(0x39u << 15), 0});
    ASSERT_TRUE(Import(Area({{kProgType, {distinct, unused}, 48}}), 0));
    ASSERT_EQ(db.Progs().Count(), 2u);
    const CProgNode& p = *db.Progs().begin();
    EXPECT_EQ(p.Id(), 0);
    EXPECT_EQ(p.ParentId(), 0x1234);
    EXPECT_EQ(p.ServiceId(), 0x4321u);
    EXPECT_EQ(p.Track(), 2u);
    EXPECT_EQ(p.PCRPID(), 0x1ABCu);
    EXPECT_EQ(p.VPID(), 0x0123u);
    EXPECT_EQ(p.PmtPid(), 0x0456u);
    EXPECT_EQ(p.APID(), 0x1DEFu);
    EXPECT_EQ(p.AvType(), 1u);
    EXPECT_EQ(p.Scramble(), 1u);
    EXPECT_EQ(p.Skip(), 0u);
    EXPECT_EQ(p.Lock(), 1u);
    EXPECT_EQ(p.FavType(), 0xDEADBEEFu);
    EXPECT_EQ(p.ProgName(), "ABCDEFGHIJKLMNOPQRST"); // 20 bytes, terminated by the reader
    EXPECT_EQ(p.SatRef() + p.TpRef() + p.Hide() + p.TunerSel() + p.VideoType() + p.AudioType(), 0u);

    const CProgNode& q = *std::next(db.Progs().begin());
    EXPECT_EQ(q.Id(), 1);
    EXPECT_EQ(q.ParentId(), 0);
    EXPECT_EQ(q.ServiceId() + q.Track() + q.PCRPID() + q.VPID() + q.PmtPid() + q.APID(), 0u);
    EXPECT_EQ(q.AvType() + q.Scramble() + q.Skip() + q.Lock() + q.FavType(), 0u);
    EXPECT_EQ(q.ProgName(), "");
}

TEST_F(UserDbInTest, BlockSearchFollowsTheChain)
{
    const Bytes sat = Sat(0x00010000);
    const Bytes tp = Tp(0x00010002);
    const Bytes prog = Prog({2}, "P");
    struct Case
    {
        const char* name;
        std::vector<Table> tables;
        std::uint32_t sats, tps, progs;
    };
    const Case cases[] = {
        {"tables in any order", {{kProgType, {prog}, 48}, {kTpType, {tp}, 12}, {kSatType, {sat}, 32}}, 1, 1, 1},
        {"program block not in use ends the search",
         {{kSatType, {sat}, 32}, {kTpType, {tp}, 12}, {kProgType, {prog}, 48, 0}},
         1,
         1,
         0},
        {"a block not in use is passed over",
         {{kSatType, {sat, sat}, 32, 0x0000}, {kSatType, {sat}, 32}, {kProgType, {prog, prog}, 48}},
         1,
         0,
         2},
        {"empty tables", {{kSatType, {}, 32}, {kTpType, {tp}, 12}}, 0, 1, 0},
        {"no tables", {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.Clear();
        ASSERT_TRUE(Import(Area(c.tables), 0));
        EXPECT_EQ(db.Sats().Count(), c.sats);
        EXPECT_EQ(db.Tps().Count(), c.tps);
        EXPECT_EQ(db.Progs().Count(), c.progs);
    }
}

TEST_F(UserDbInTest, BrokenChainsEndTheSearchForTheirTable)
{
    // Area(SmallTables()): root at 0, satellite header at 24, transponder at 52, programs at 80.
    const Bytes good = Area(SmallTables());
    struct Case
    {
        const char* name;
        std::size_t offset;
        std::uint32_t value;
        std::uint32_t sats, tps, progs;
        std::uint32_t brokenTables; // searches that looped or left the area: reported as damage
    };
    const Case cases[] = {
        {"root of another type", 8, 1, 0, 0, 0, 0},
        {"root without a next block", 4, kNone, 0, 0, 0, 0},
        {"root next outside the area", 4, 0x7FFFFFF0, 0, 0, 0, 3},
        {"root next at the last bytes", 4, static_cast<std::uint32_t>(good.size() - 8), 0, 0, 0, 3},
        {"second header without the magic", 52, 0x12345678, 1, 0, 0, 2},
        {"chain loops back to the first block", 52 + 4, 24, 1, 1, 0, 1},
        {"chain loops on itself", 52 + 4, 52, 1, 1, 0, 1},
        {"block points back to the root", 52 + 4, 0, 1, 1, 0, 1},
        {"empty block without its end word", 24 + 12, 0xFFFF0000, 0, 0, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteBuilder area;
        for (const std::uint8_t byte : good) {
            area.U8(byte);
        }
        area.PatchU32(c.offset, c.value);
        db.Clear();
        ASSERT_TRUE(Import(area.Bytes(), 0));
        EXPECT_EQ(db.Sats().Count(), c.sats);
        EXPECT_EQ(db.Tps().Count(), c.tps);
        EXPECT_EQ(db.Progs().Count(), c.progs);
        EXPECT_EQ(Damage(), std::make_pair(c.brokenTables, 0u));
    }
}

TEST_F(UserDbInTest, RecordsOutsideTheAreaAreSkippedAndShortOnesReadAsFarAsTheyGo)
{
    const Bytes named = Sat(0x00030000, 0, 0, 0, "ABCDEFGHIJKLMNO");
    struct Case
    {
        const char* name;
        std::uint16_t recordSize;
        std::size_t patchAt; // 0: no patch
        std::uint32_t patch;
        std::size_t cutTo; // 0: keep the whole area
        std::uint32_t sats;
        std::string firstName;
        std::uint32_t skipped; // records reported as damage
    };
    // Area({{sat, {named, named}, size}}): satellite header at 24, offsets at 44 and 48, records at 56.
    const Case cases[] = {
        {"whole records", 32, 0, 0, 0, 2, "ABCDEFGHIJKLMNO", 0},
        {"size not a word multiple: 31 reads 28 bytes", 31, 0, 0, 0, 2, "ABCDEFGHIJKL", 0},
        {"record shorter than the layout", 20, 0, 0, 0, 2, "ABCD", 0},
        {"record size 0 reads an all-zero record", 0, 0, 0, 0, 2, "", 0},
        {"record longer than the buffer is cut to it", 36, 0, 0, 0, 1, "ABCDEFGHIJKLMNO", 1},
        {"record size reaching past the area", 0xFFFC, 0, 0, 0, 0, "", 2},
        {"record offset outside the area", 32, 44, 0x7FFFFFFF, 0, 1, "ABCDEFGHIJKLMNO", 1},
        {"record offset wrapping past 4 GiB", 32, 44, 0xFFFFFFF0, 0, 1, "ABCDEFGHIJKLMNO", 1},
        {"last record cut by the end of the area", 32, 0, 0, 56 + 32 + 16, 1, "ABCDEFGHIJKLMNO", 1},
        {"count larger than the offset table", 32, 24 + 12, 0xFFFF0400, 56, 0, "", 0x400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteBuilder area;
        for (const std::uint8_t byte : Area({{kSatType, {named, named}, c.recordSize}})) {
            area.U8(byte);
        }
        if (c.patchAt != 0) {
            area.PatchU32(c.patchAt, c.patch);
        }
        Bytes bytes = area.Bytes();
        if (c.cutTo != 0) {
            bytes.resize(c.cutTo);
        }
        db.Clear();
        ASSERT_TRUE(Import(bytes, 0));
        EXPECT_EQ(db.Sats().Count(), c.sats);
        if (c.sats > 0) {
            EXPECT_EQ(db.Sats().begin()->Name(), c.firstName);
        }
        EXPECT_EQ(Damage(), std::make_pair(0u, c.skipped));
    }
}

TEST_F(UserDbInTest, ReceiverIdsMayOverlapTheAssignedOnesOrRepeat)
{
    // Ids counted from 1, one repeated: every node keeps the receiver's id, Find gives the first
    // in list order, and the list still counts its own ids from 0.
    std::vector<Bytes> sats;
    std::vector<Bytes> tps;
    for (const std::uint32_t id : {1u, 2u, 3u, 1u, 0u}) {
        sats.push_back(Sat(id << 16));
        tps.push_back(Tp((id << 16) | (id + 1)));
    }
    ASSERT_TRUE(Import(Area({{kSatType, sats, 32}, {kTpType, tps, 12}}), 0));
    std::vector<std::int32_t> satIds;
    for (const CSatNode& s : db.Sats()) {
        satIds.push_back(s.Id());
    }
    EXPECT_EQ(satIds, (std::vector<std::int32_t>{1, 2, 3, 1, 0}));
    EXPECT_EQ(db.Sats().Find(1), &*db.Sats().begin());
    EXPECT_EQ(db.Sats().LastId(), 4);
    std::vector<std::pair<std::int32_t, std::int32_t>> tpIds;
    for (const CTpNode& t : db.Tps()) {
        tpIds.emplace_back(t.Id(), t.ParentId());
    }
    EXPECT_EQ(tpIds, (std::vector<std::pair<std::int32_t, std::int32_t>>{{2, 1}, {3, 2}, {4, 3}, {2, 1}, {1, 0}}));
    EXPECT_EQ(db.Tps().Find(4)->ParentId(), 3);
    EXPECT_EQ(db.Tps().LastId(), 4);
    EXPECT_EQ(db.Tps().Find(-2), nullptr); // no node is left on a temporary id
}

TEST_F(UserDbInTest, ImageInMemoryReadsLikeTheFile)
{
    const Bytes image = Image(Area(SmallTables()), 0x10000, 0x30000);
    ASSERT_TRUE(Import(image, 0));
    CProgDb fromMemory;
    ASSERT_TRUE(CAccessUserDbIn().ImportImage(image, 0, fromMemory));
    EXPECT_EQ(fromMemory.Sats().Count(), db.Sats().Count());
    EXPECT_EQ(fromMemory.Tps().begin()->TpRecord(), db.Tps().begin()->TpRecord());
    EXPECT_EQ(fromMemory.Progs().begin()->Record(), db.Progs().begin()->Record());
    EXPECT_FALSE(CAccessUserDbIn().ImportImage(image, 0x30000, fromMemory));
    EXPECT_EQ(PendingError().text, "File size error!");
}

} // namespace

} // namespace core
