#include "access/CAccessUserDb25In.h"

#include "access/FlashImageFile.h"
#include "access/UserDb25Records.h"
#include "access/UserDbRecords.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <vector>

namespace core {

using namespace UserDb25;
using UserDb::kEndMagic;
using UserDb::kMagic;
using UserDb::kNoNext;

namespace {

using Header = CAccessUserDb25In::Header;

// Bytes a slot takes as its header describes it: the header, its offset table and the end word.
std::uint64_t ComputedSlotSize(const Header& h)
{
    return 32 + 4 * ((static_cast<std::uint64_t>(h.count) * h.width) / 4);
}

// The slot after h. Slots normally sit where h's own size says; a store whose slots keep the full
// 224 bytes whatever their count is followed when nothing with the magic stands there.
std::optional<Header> NextSlot(const FlashArea& area, const Header& h)
{
    auto computed = CAccessUserDb25In::ReadHeader(area, h.offset + ComputedSlotSize(h));
    if (computed && computed->hasMagic) {
        return computed;
    }
    auto full = CAccessUserDb25In::ReadHeader(area, h.offset + kFullSlotSize);
    if (full && full->hasMagic) {
        return full;
    }
    return computed;
}

// A header with the magic that is not an empty table missing its end word.
bool IsSound(const FlashArea& area, const Header& h)
{
    return h.hasMagic && (h.count != 0 || area.Le32(h.offset + kHeaderSize) == kEndMagic);
}

// How many of the header's records have their offset-table entry inside the area: the table can
// claim up to 65535 entries, and none after the first outside the area can be inside.
std::uint32_t EntriesInside(const FlashArea& area, const Header& h)
{
    const std::uint64_t entrySize = std::min(h.width, 4u);
    const std::uint64_t tableAt = h.offset + kHeaderSize;
    if (h.width == 0 || !area.Contains(tableAt, entrySize)) {
        return 0;
    }
    const std::uint64_t inside = (area.Size() - tableAt - entrySize) / h.width + 1;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(h.count, inside));
}

// The record buffer for one record of the header's table, cut or zero-padded to the buffer.
template <class Buffer>
std::optional<Buffer> RecordBuffer(const FlashArea& area, const Header& header, std::uint32_t i)
{
    const auto record = CAccessUserDb25In::GetRecord25(area, header, i);
    if (!record) {
        return std::nullopt;
    }
    Buffer buffer{};
    std::copy_n(record->begin(), std::min(record->size(), buffer.size()), buffer.begin());
    return buffer;
}

// Calls read(record buffer) for each record of the table's block that can be read.
template <class Buffer, class Read>
void ForEachRecord(const FlashArea& area, std::uint64_t storeStart, std::uint32_t type, FlashDamage& damage, Read read)
{
    bool broken = false;
    const auto h = CAccessUserDb25In::FindBlock25(area, storeStart, type, &broken);
    if (!h) {
        damage.tables += broken ? 1 : 0;
        return;
    }
    const std::uint32_t inside = EntriesInside(area, *h);
    damage.records += h->count - inside; // entries beyond the area, or all of them without a width
    for (std::uint32_t i = 0; i < inside; ++i) {
        if (const auto record = RecordBuffer<Buffer>(area, *h, i)) {
            read(*record);
        } else {
            ++damage.records;
        }
    }
}

} // namespace

bool CAccessUserDb25In::Import(const std::string& path, CProgDb& db)
{
    m_damage = {};
    const std::uint32_t address = AskUserDbAddress();
    if (address == 0) {
        return false; // this store is never searched for from the start of the image
    }
    FlashImageFile file;
    if (!file.OpenForReading(path)) {
        return false;
    }
    if (file.Size() > kMaxImageSize || file.Size() <= address) {
        SetPendingError("File size error!");
        return false;
    }
    const auto area = file.ReadRest(address);
    if (!area) {
        return false;
    }
    ReadArea(FlashArea(area->Span()), db, m_damage);
    return true;
}

bool CAccessUserDb25In::ImportImage(std::span<const std::uint8_t> image, std::uint32_t address, CProgDb& db)
{
    m_damage = {};
    if (address == 0) {
        return false;
    }
    if (image.size() <= address) {
        SetPendingError("File size error!");
        return false;
    }
    ReadArea(FlashArea(image.subspan(address)), db, m_damage);
    return true;
}

std::optional<Header> CAccessUserDb25In::ReadHeader(const FlashArea& area, std::uint64_t offset)
{
    if (!area.Contains(offset, kHeaderSize)) {
        return std::nullopt;
    }
    Header h;
    h.offset = offset;
    h.hasMagic = *area.Le32(offset) == kMagic;
    h.next = *area.Le32(offset + 4);
    h.type = *area.Le32(offset + 8);
    h.count = *area.Le16(offset + 18);
    h.recordSize = *area.Le16(offset + 20);
    h.width = *area.U8(offset + 26);
    h.slot = *area.U8(offset + 27);
    return h;
}

std::uint64_t CAccessUserDb25In::FindStoreStart(const FlashArea& area)
{
    for (std::uint64_t at = 0; area.Contains(at, 4); at += 4) {
        if (*area.Le32(at) != kMagic) {
            continue;
        }
        const auto h = ReadHeader(area, at);
        if (h && IsSound(area, *h)) {
            return at;
        }
    }
    return 0;
}

std::optional<Header>
CAccessUserDb25In::FindBlock25(const FlashArea& area, std::uint64_t storeStart, std::uint32_t wantedType, bool* broken)
{
    bool ignored = false;
    bool& damaged = broken != nullptr ? *broken : ignored;
    damaged = false;
    // Walk the contiguous header slots at the store start up to the table's own slot.
    auto h = ReadHeader(area, storeStart);
    while (h && h->hasMagic && h->slot == 1 && h->type != wantedType) {
        h = NextSlot(area, *h);
    }
    if (!h || !h->hasMagic) {
        return std::nullopt;
    }
    // Each position is examined, slot-walked or chain-walked at most once: coming back to one can
    // only repeat a path already taken, so it ends the search (this also ends every loop).
    std::unordered_set<std::uint64_t> examined;
    std::unordered_set<std::uint64_t> slotWalked;
    std::unordered_set<std::uint64_t> chainWalked;
    for (;;) {
        if (!examined.insert(h->offset).second) {
            damaged = true;
            return std::nullopt;
        }
        if (!IsSound(area, *h)) {
            return std::nullopt;
        }
        if (h->type == wantedType && h->next == kNoNext) {
            return h;
        }
        while (h->type != wantedType && h->slot == 1) {
            h = slotWalked.insert(h->offset).second ? NextSlot(area, *h) : std::nullopt;
            if (!h) {
                damaged = true; // the slots looped or ran out of the area
                return std::nullopt;
            }
        }
        // A rewritten table: its valid block is the last of the chain.
        while (h->next != kNoNext) {
            h = chainWalked.insert(h->offset).second ? ReadHeader(area, storeStart + h->next) : std::nullopt;
            if (!h) {
                damaged = true; // the chain looped or left the area
                return std::nullopt;
            }
        }
        if (!h->hasMagic) {
            return std::nullopt;
        }
    }
}

std::optional<std::span<const std::uint8_t>>
CAccessUserDb25In::GetRecord25(const FlashArea& area, const Header& header, std::uint32_t i)
{
    if (i >= header.count || header.width == 0) {
        return std::nullopt;
    }
    // Entry i fills header.width bytes; offsets never need more than the low four of them.
    const std::uint64_t entryAt = header.offset + kHeaderSize + static_cast<std::uint64_t>(i) * header.width;
    const auto entry = area.LeN(entryAt, std::min(header.width, 4u));
    if (!entry) {
        return std::nullopt;
    }
    const std::uint64_t length = header.recordSize & ~3u;
    if (!area.Contains(*entry, length)) {
        return std::nullopt;
    }
    return area.Bytes(*entry, length);
}

void CAccessUserDb25In::ReadArea(const FlashArea& area, CProgDb& db, FlashDamage& damage)
{
    const std::uint64_t store = FindStoreStart(area);
    ForEachRecord<SatBuffer>(area, store, kSatTable, damage, [&](const SatBuffer& record) {
        auto node = std::make_unique<CSatNode>(0, InvalidId, InvalidId);
        const std::int32_t id = FillSat(record, *node);
        db.Sats().AddWithId(std::move(node), id); // the receiver's id replaces the assigned one
    });
    ForEachRecord<TpBuffer>(area, store, kTpTable, damage, [&](const TpBuffer& record) {
        auto node = std::make_unique<CTpNode>(InvalidId, InvalidId);
        std::int32_t parentId = InvalidId;
        const std::int32_t id = FillTp(record, *node, &parentId);
        db.Tps().AddWithId(std::move(node), id).SetParentId(parentId);
    });
    ForEachRecord<ProgBuffer>(area, store, kProgTable, damage, [&](const ProgBuffer& record) {
        auto node = std::make_unique<CProgNode>(InvalidId, InvalidId);
        CProgNode& prog = *node;
        const std::int32_t parentId = FillProg(record, prog);
        db.Progs().Add(std::move(node)); // programs keep the id the list hands out
        prog.SetParentId(parentId);
    });
}

} // namespace core
