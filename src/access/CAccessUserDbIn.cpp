#include "access/CAccessUserDbIn.h"

#include "access/FlashImageFile.h"
#include "access/UserDbRecords.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

#include <memory>
#include <unordered_set>
#include <vector>

namespace core {

using namespace UserDb;

namespace {

// Calls read(record buffer) for each record of the block whose offset entry and bytes lie inside the
// area; any other is skipped. A record shorter than the buffer leaves the missing bytes 0.
template <class Buffer, class Read>
void ForEachRecord(const FlashArea& area, const CAccessUserDbIn::Block& block, FlashDamage& damage, Read read)
{
    const std::uint64_t length = block.recordSize & ~3u; // whole words only
    for (std::uint32_t i = 0; i < block.count; ++i) {
        const auto offset = area.Le32(block.offset + kHeaderSize + 4ull * i);
        if (!offset) {
            damage.records += block.count - i;
            return; // the offset table runs off the end of the area: no later entry exists either
        }
        const auto record = area.Record<std::tuple_size_v<Buffer>>(*offset, length);
        if (record) {
            read(*record);
        } else {
            ++damage.records;
        }
    }
}

} // namespace

bool CAccessUserDbIn::Import(const std::string& path, CProgDb& db)
{
    m_damage = {};
    const std::uint32_t address = AskUserDbAddress();
    FlashImageFile file;
    if (!file.OpenForReading(path)) {
        return false;
    }
    if (file.Size() > kMaxImageSize || address >= file.Size()) {
        SetPendingError("File size error!");
        return false;
    }
    const auto marker = FindMarker(address, file.Size(), [&](std::uint64_t p) -> std::optional<std::uint32_t> {
        std::uint8_t word[4];
        const auto read = file.ReadAt(p, word, sizeof word);
        return read ? FlashArea(std::span(word, *read)).Le32(0) : std::nullopt;
    });
    if (!marker) {
        return true;
    }
    const auto area = file.ReadRest(*marker);
    if (!area) {
        return false;
    }
    ReadArea(FlashArea(area->Span()), db, m_damage);
    return true;
}

bool CAccessUserDbIn::ImportImage(std::span<const std::uint8_t> image, std::uint32_t address, CProgDb& db)
{
    m_damage = {};
    if (address >= image.size()) {
        SetPendingError("File size error!");
        return false;
    }
    const FlashArea whole(image);
    const auto marker = FindMarker(address, image.size(), [&](std::uint64_t p) { return whole.Le32(p); });
    if (marker) {
        ReadArea(FlashArea(image.subspan(*marker)), db, m_damage);
    }
    return true;
}

std::optional<CAccessUserDbIn::Block>
CAccessUserDbIn::FindBlock(const FlashArea& area, std::uint32_t wantedType, bool* broken)
{
    bool ignored = false;
    bool& damaged = broken != nullptr ? *broken : ignored;
    damaged = false;
    const auto rootNext = area.Le32(4);
    const auto rootType = area.Le32(8);
    if (!rootNext || !rootType || *rootType != 0 || *rootNext == kNoNext) {
        return std::nullopt;
    }
    std::unordered_set<std::uint64_t> visited;
    std::uint64_t at = *rootNext;
    for (;;) {
        if (!visited.insert(at).second || !area.Contains(at, kHeaderSize)) {
            damaged = true;
            return std::nullopt; // the chain came back on itself or left the area
        }
        const std::uint32_t next = *area.Le32(at + 4);
        const std::uint32_t type = *area.Le32(at + 8);
        const std::uint32_t count = *area.Le16(at + 12);
        const std::uint32_t state = *area.Le16(at + 14);
        if (*area.Le32(at) != kMagic || (count == 0 && area.Le32(at + kHeaderSize) != kEndMagic)) {
            damaged = true;
            return std::nullopt;
        }
        if (type == wantedType && state == kInUse) {
            return Block{at, count, *area.Le16(at + 16)};
        }
        if (next == kNoNext) {
            return std::nullopt;
        }
        at = next;
    }
}

void CAccessUserDbIn::ReadArea(const FlashArea& area, CProgDb& db, FlashDamage& damage)
{
    ReadSatellites(area, db, damage);
    ReadTransponders(area, db, damage);
    ReadPrograms(area, db, damage);
}

std::optional<CAccessUserDbIn::Block>
CAccessUserDbIn::FindTable(const FlashArea& area, std::uint32_t type, FlashDamage& damage)
{
    bool broken = false;
    const auto block = FindBlock(area, type, &broken);
    if (broken) {
        ++damage.tables;
    }
    return block;
}

void CAccessUserDbIn::ReadSatellites(const FlashArea& area, CProgDb& db, FlashDamage& damage)
{
    const auto block = FindTable(area, kSatTable, damage);
    if (!block) {
        return;
    }
    ForEachRecord<SatBuffer>(area, *block, damage, [&](const SatBuffer& record) {
        auto node = std::make_unique<CSatNode>(0, InvalidId, InvalidId);
        const std::int32_t id = FillSat(record, *node);
        db.Sats().AddWithId(std::move(node), id); // the receiver's id replaces the assigned one
    });
}

void CAccessUserDbIn::ReadTransponders(const FlashArea& area, CProgDb& db, FlashDamage& damage)
{
    const auto block = FindTable(area, kTpTable, damage);
    if (!block) {
        return;
    }
    ForEachRecord<TpBuffer>(area, *block, damage, [&](const TpBuffer& record) {
        auto node = std::make_unique<CTpNode>(InvalidId, InvalidId);
        std::int32_t parentId = InvalidId;
        const std::int32_t id = FillTp(record, *node, &parentId);
        db.Tps().AddWithId(std::move(node), id).SetParentId(parentId);
    });
}

void CAccessUserDbIn::ReadPrograms(const FlashArea& area, CProgDb& db, FlashDamage& damage)
{
    const auto block = FindTable(area, kProgTable, damage);
    if (!block) {
        return;
    }
    ForEachRecord<ProgBuffer>(area, *block, damage, [&](const ProgBuffer& record) {
        auto node = std::make_unique<CProgNode>(InvalidId, InvalidId);
        CProgNode& prog = *node;
        const std::int32_t parentId = FillProg(record, prog);
        db.Progs().Add(std::move(node)); // programs keep the id the list hands out
        prog.SetParentId(parentId);
    });
}

} // namespace core
