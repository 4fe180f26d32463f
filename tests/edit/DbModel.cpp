#include "DbModel.h"

#include "db/LnbFreqTable.h"
#include "edit/FieldTable.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <set>
#include <sstream>
#include <tuple>

namespace core {

namespace {

constexpr std::size_t kSatNameSize = 16;
constexpr std::size_t kProgNameOffset = 20;
constexpr std::size_t kProgNameArea = 44;

std::vector<std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size)
{
    return {data, data + size};
}

std::uint32_t Word(const std::vector<std::uint8_t>& record, std::size_t offset)
{
    return static_cast<std::uint32_t>(record[offset]) | (static_cast<std::uint32_t>(record[offset + 1]) << 8)
        | (static_cast<std::uint32_t>(record[offset + 2]) << 16)
        | (static_cast<std::uint32_t>(record[offset + 3]) << 24);
}

void SetWord(std::vector<std::uint8_t>& record, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t Mask(unsigned width)
{
    return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u;
}

std::uint32_t GetBits(const std::vector<std::uint8_t>& record, const BitField& bits)
{
    return (Word(record, bits.byteOffset) >> bits.lowBit) & Mask(bits.width);
}

void SetBits(std::vector<std::uint8_t>& record, const BitField& bits, std::uint32_t value)
{
    const std::uint32_t mask = Mask(bits.width) << bits.lowBit;
    SetWord(record, bits.byteOffset, (Word(record, bits.byteOffset) & ~mask) | ((value << bits.lowBit) & mask));
}

// Where a kind's name lies in its record: offset and size.
std::pair<std::size_t, std::size_t> NameArea(NodeType kind)
{
    return kind == Sat ? std::pair{std::size_t{0}, kSatNameSize} : std::pair{kProgNameOffset, kProgNameArea};
}

std::string NameOf(NodeType kind, const ModelRow& row)
{
    const auto [offset, size] = NameArea(kind);
    std::string name;
    for (std::size_t i = 0; i < size && row.record[offset + i] != 0; ++i) {
        name.push_back(static_cast<char>(row.record[offset + i]));
    }
    return name;
}

void WriteName(NodeType kind, ModelRow& row, const std::string& name)
{
    const auto [offset, size] = NameArea(kind);
    for (std::size_t i = 0; i < size; ++i) {
        row.record[offset + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0;
    }
}

// ISO-8859-1's lower case: A-Z and the accented capitals 0xC0-0xDE except the multiplication sign.
std::string FoldLatin1(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            c = static_cast<char>(byte + 0x20);
        }
    }
    return folded;
}

// The rows the ids name: the k-th occurrence of an id takes the k-th row carrying it.
bool ResolveRows(const std::vector<ModelRow>& rows, const std::vector<std::int32_t>& ids, std::vector<std::size_t>& out)
{
    out.clear();
    std::vector<bool> taken(rows.size(), false);
    for (const std::int32_t id : ids) {
        std::size_t i = 0;
        while (i < rows.size() && (rows[i].id != id || taken[i])) {
            ++i;
        }
        if (i == rows.size()) {
            return false;
        }
        taken[i] = true;
        out.push_back(i);
    }
    return !out.empty();
}

std::size_t FirstWithId(const std::vector<ModelRow>& rows, std::int32_t id)
{
    std::size_t i = 0;
    while (i < rows.size() && rows[i].id != id) {
        ++i;
    }
    return i;
}

bool Carries(const std::vector<ModelRow>& rows, std::int32_t id)
{
    return FirstWithId(rows, id) < rows.size();
}

// Erases the rows marked; returns the ids that no remaining row carries.
std::set<std::int32_t> EraseRows(std::vector<ModelRow>& rows, const std::vector<bool>& remove)
{
    std::set<std::int32_t> removedIds;
    std::vector<ModelRow> kept;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (remove[i]) {
            removedIds.insert(rows[i].id);
        } else {
            kept.push_back(rows[i]);
        }
    }
    rows = std::move(kept);
    std::set<std::int32_t> gone;
    for (const std::int32_t id : removedIds) {
        if (!Carries(rows, id)) {
            gone.insert(id);
        }
    }
    return gone;
}

std::set<std::int32_t> EraseChildren(std::vector<ModelRow>& rows, const std::set<std::int32_t>& parents)
{
    std::vector<bool> remove(rows.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        remove[i] = parents.count(rows[i].parentId) != 0;
    }
    return EraseRows(rows, remove);
}

ModelRow NewRow(NodeType kind, std::int32_t id, std::int32_t parentId)
{
    ModelRow row;
    row.id = id;
    row.parentId = parentId;
    switch (kind) {
    case Sat:
        row.record.assign(28, 0);
        WriteName(kind, row, "New Satellite");
        SetBits(row.record, BitField{20, 13, 4}, 3); // 9750 MHz
        SetBits(row.record, BitField{20, 17, 4}, 5); // 10600 MHz
        break;
    case Tp:
        row.record.assign(4, 0);
        break;
    case Prog:
        row.record.assign(64, 0);
        WriteName(kind, row, "New Program");
        break;
    }
    return row;
}

std::int64_t NumberKey(NodeType kind, const ModelRow& row, const std::string& key)
{
    if (key == "Id") {
        return row.id;
    }
    if (key == "ParentId") {
        return row.parentId;
    }
    const FieldInfo* field = FindField(kind, key);
    const std::uint32_t value = GetBits(row.record, field->bits);
    if (key == "LocalFre1" || key == "LocalFre2") {
        return value < LnbFreqTable.size() ? LnbFreqTable[value] : LnbFreqTable[0];
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

bool DbModel::Delete(NodeType kind, const std::vector<std::int32_t>& ids)
{
    std::vector<std::size_t> rows;
    if (!ResolveRows(Of(kind), ids, rows)) {
        return false;
    }
    std::vector<bool> remove(Of(kind).size(), false);
    for (const std::size_t row : rows) {
        remove[row] = true;
    }
    std::set<std::int32_t> gone = EraseRows(Of(kind), remove);
    if (kind == Sat) {
        gone = EraseChildren(Of(Tp), gone);
    }
    if (kind != Prog) {
        EraseChildren(Of(Prog), gone);
    }
    return true;
}

bool DbModel::Move(NodeType kind, const std::vector<std::int32_t>& ids, std::int32_t beforeId)
{
    std::vector<ModelRow>& list = Of(kind);
    std::vector<std::size_t> rows;
    if (!ResolveRows(list, ids, rows)) {
        return false;
    }
    std::size_t target = list.size();
    if (beforeId != InvalidId) {
        target = FirstWithId(list, beforeId);
        if (target == list.size()) {
            return false;
        }
    }
    std::vector<bool> moved(list.size(), false);
    for (const std::size_t row : rows) {
        moved[row] = true;
    }
    while (target < list.size() && moved[target]) {
        ++target;
    }
    std::vector<ModelRow> block;
    std::vector<ModelRow> result;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (moved[i]) {
            block.push_back(list[i]);
        }
    }
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i == target) {
            result.insert(result.end(), block.begin(), block.end());
        }
        if (i < list.size() && !moved[i]) {
            result.push_back(list[i]);
        }
    }
    list = std::move(result);
    return true;
}

bool DbModel::Set(NodeType kind, std::int32_t id, const std::string& field, std::uint32_t value)
{
    const FieldInfo* info = FindField(kind, field);
    const std::size_t row = FirstWithId(Of(kind), id);
    if (info == nullptr || info->IsName() || value > Mask(info->bits.width) || row == Of(kind).size()) {
        return false;
    }
    SetBits(Of(kind)[row].record, info->bits, value);
    return true;
}

bool DbModel::Rename(NodeType kind, std::int32_t id, const std::string& name)
{
    const std::size_t row = FirstWithId(Of(kind), id);
    const std::size_t limit = kind == Sat ? 16 : 41;
    if (kind == Tp || row == Of(kind).size() || name.size() > limit || name.find('\0') != std::string::npos) {
        return false;
    }
    WriteName(kind, Of(kind)[row], name);
    return true;
}

bool DbModel::Add(NodeType kind, std::int32_t parentId, std::int32_t afterId)
{
    const bool parentOk = kind == Sat ? parentId == InvalidId : Carries(Of(kind == Tp ? Sat : Tp), parentId);
    std::vector<ModelRow>& list = Of(kind);
    std::size_t at = list.size();
    if (afterId != InvalidId) {
        at = FirstWithId(list, afterId);
        if (at == list.size()) {
            return false;
        }
        ++at;
    }
    if (!parentOk) {
        return false;
    }
    const std::size_t index = static_cast<std::size_t>(kind);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), NewRow(kind, ++lastIds[index], parentId));
    return true;
}

bool DbModel::Sort(NodeType kind, const std::vector<std::int32_t>& ids, const std::string& key, SortOrder order)
{
    std::vector<ModelRow>& list = Of(kind);
    std::vector<std::size_t> rows;
    const bool keyOk = key == "Id" || key == "ParentId" || FindField(kind, key) != nullptr;
    if (!keyOk || !ResolveRows(list, ids, rows)) {
        return false;
    }
    std::sort(rows.begin(), rows.end());
    std::vector<ModelRow> selected;
    for (const std::size_t row : rows) {
        selected.push_back(list[row]);
    }
    const bool byName = key == "Name" || key == "ProgName";
    auto less = [&](const ModelRow& a, const ModelRow& b) {
        if (byName) {
            return FoldLatin1(NameOf(kind, a)) < FoldLatin1(NameOf(kind, b));
        }
        return NumberKey(kind, a, key) < NumberKey(kind, b, key);
    };
    if (order == SortOrder::Ascending) {
        std::stable_sort(selected.begin(), selected.end(), less);
    } else {
        std::stable_sort(
            selected.begin(), selected.end(), [&](const ModelRow& a, const ModelRow& b) { return less(b, a); });
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        list[rows[i]] = selected[i];
    }
    return true;
}

void DbModel::RemoveDuplicates()
{
    std::vector<ModelRow>& progs = Of(Prog);
    std::set<std::tuple<std::int32_t, std::uint32_t, std::uint32_t>> seen;
    std::vector<bool> remove(progs.size(), false);
    for (std::size_t i = 0; i < progs.size(); ++i) {
        const std::size_t tp = FirstWithId(Of(Tp), progs[i].parentId);
        if (tp == Of(Tp).size()) {
            continue;
        }
        const ModelRow& tpRow = Of(Tp)[tp];
        const auto key
            = std::tuple{tpRow.parentId, Word(tpRow.record, 0) & 0x7FFFFFFFu, Word(progs[i].record, 8) & 0xFFFFu};
        remove[i] = !seen.insert(key).second;
    }
    EraseRows(progs, remove);
}

void PrintTo(const DbModel& model, std::ostream* out)
{
    static constexpr const char* kNames[] = {"sats", "tps", "progs"};
    for (std::size_t kind = 0; kind < model.lists.size(); ++kind) {
        *out << '\n' << kNames[kind] << ':';
        for (const ModelRow& row : model.lists[kind]) {
            *out << ' ' << row.id << '/' << row.parentId << '/';
            for (const std::uint8_t byte : row.record) {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02x", byte);
                *out << hex;
            }
        }
    }
}

DbModel Snapshot(const CProgDb& db)
{
    DbModel model;
    for (const CSatNode& sat : db.Sats()) {
        model.Of(Sat).push_back({sat.Id(), sat.ParentId(), Bytes(sat.Record().Bytes().data(), 28), sat.Select()});
    }
    for (const CTpNode& tp : db.Tps()) {
        std::vector<std::uint8_t> word(4);
        SetWord(word, 0, tp.TpRecord());
        model.Of(Tp).push_back({tp.Id(), tp.ParentId(), word, 0});
    }
    for (const CProgNode& prog : db.Progs()) {
        model.Of(Prog).push_back({prog.Id(), prog.ParentId(), Bytes(prog.Record().Bytes().data(), 64), 0});
    }
    model.lastIds = {db.Sats().LastId(), db.Tps().LastId(), db.Progs().LastId()};
    return model;
}

std::string Orphans(const CProgDb& db)
{
    std::ostringstream orphans;
    for (const CTpNode& tp : db.Tps()) {
        if (db.Sats().Find(tp.ParentId()) == nullptr) {
            orphans << "transponder " << tp.Id() << " without satellite " << tp.ParentId() << '\n';
        }
    }
    for (const CProgNode& prog : db.Progs()) {
        if (db.Tps().Find(prog.ParentId()) == nullptr) {
            orphans << "program " << prog.Id() << " without transponder " << prog.ParentId() << '\n';
        }
    }
    return orphans.str();
}

} // namespace core
