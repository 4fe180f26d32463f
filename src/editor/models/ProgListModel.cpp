#include "editor/models/ProgListModel.h"

#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "edit/FieldTable.h"
#include "edit/RenameNode.h"
#include "edit/SetField.h"
#include "editor/models/CellToolTips.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

using core::CNode;
using core::CProgDb;
using core::InternalToUtf8;
using core::InvalidId;
using core::Utf8ToInternal;

namespace editor {

namespace {
template <class TList>
void CollectIds(const TList& list, std::int32_t parentId, std::vector<std::int32_t>& ids)
{
    for (const auto& node : list) {
        if (parentId == InvalidId || node.ParentId() == parentId) {
            ids.push_back(node.Id());
        }
    }
}

// A condition value as the cells hold it; false when the value has no exact form there, so it
// can match no cell.
bool ToCellBytes(ListKind kind, const FilterCondition& condition, std::string& bytes)
{
    if (!IsNameColumn(kind, condition.column)) {
        bytes = condition.value;
        return true;
    }
    bool lossy = false;
    bytes = Utf8ToInternal(condition.value, &lossy);
    return !lossy;
}
} // namespace

ProgListModel::ProgListModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

void ProgListModel::AttachDatabase(CProgDb* db)
{
    beginResetModel();
    m_db = db;
    m_hasColumns = false;
    m_filters.clear();
    m_baseIds.clear();
    m_ids.clear();
    m_total = 0;
    m_finder.Forget();
    m_dropTarget = -1;
    endResetModel();
}

void ProgListModel::ShowItems(ListKind kind, std::int32_t parentId)
{
    beginResetModel();
    if (kind != m_kind) {
        m_finder.Forget(); // ids are unique per kind only
    }
    m_kind = kind;
    m_parentId = kind == ListKind::Satellites ? InvalidId : parentId;
    m_filters.clear();
    m_hasColumns = true;
    m_dropTarget = -1;
    m_baseIds = CollectRows();
    m_total = m_baseIds.size();
    m_ids = Found(m_baseIds);
    endResetModel();
}

std::vector<std::int32_t> ProgListModel::CollectRows() const
{
    std::vector<std::int32_t> ids;
    if (m_db != nullptr) {
        switch (m_kind) {
        case ListKind::Programs:
            CollectIds(m_db->Progs(), m_parentId, ids);
            break;
        case ListKind::Transponders:
            CollectIds(m_db->Tps(), m_parentId, ids);
            break;
        case ListKind::Satellites:
            CollectIds(m_db->Sats(), InvalidId, ids);
            break;
        }
    }
    return ids;
}

void ProgListModel::SetRows(std::vector<std::int32_t> ids)
{
    beginResetModel();
    m_ids = std::move(ids);
    m_dropTarget = -1;
    endResetModel();
}

void ProgListModel::AddFilter(const FilterSpec& spec)
{
    // A condition holds for a row or not whatever else narrows the list, so the filter can apply
    // to the rows before the find text as well as to those shown.
    m_baseIds = IdsMatching(spec, m_baseIds);
    m_filters.push_back(spec);
    SetRows(Found(m_baseIds));
}

void ProgListModel::SetFindText(const QString& text)
{
    if (text == m_findText) {
        return;
    }
    m_findText = text;
    if (m_hasColumns) {
        SetRows(Found(m_baseIds));
    }
}

void ProgListModel::CodePageChanged()
{
    m_finder.Forget();
    if (!m_findText.isEmpty() && m_hasColumns) {
        SetRows(Found(m_baseIds));
    } else {
        RefreshValues();
    }
}

std::vector<std::int32_t> ProgListModel::Found(const std::vector<std::int32_t>& ids)
{
    return m_finder.Matching(ids, m_findText, [this](std::int32_t id) { return FindableText(id); });
}

std::string ProgListModel::FindableText(std::int32_t id) const
{
    const CNode* node = NodeOf(id);
    if (node == nullptr) {
        return {};
    }
    if (m_kind == ListKind::Transponders) {
        const auto& tp = static_cast<const core::CTpNode&>(*node);
        return std::to_string(tp.Id()) + "-" + std::to_string(tp.Frequency()) + "-" + std::to_string(tp.SymbolRate());
    }
    return core::NodeName(*node);
}

void ProgListModel::Refresh()
{
    if (!m_hasColumns) {
        return;
    }
    std::vector<std::int32_t> ids = CollectRows();
    m_total = ids.size();
    for (const FilterSpec& spec : m_filters) {
        ids = IdsMatching(spec, ids);
    }
    m_baseIds = ids;
    m_finder.Forget(); // names may have been edited
    ids = Found(m_baseIds);
    // Rows that only went away leave in runs, so the view keeps its place; anything else resets.
    std::vector<int> removed;
    std::size_t next = 0;
    for (std::size_t row = 0; row < m_ids.size(); ++row) {
        if (next < ids.size() && ids[next] == m_ids[row]) {
            ++next;
        } else {
            removed.push_back(static_cast<int>(row));
        }
    }
    if (next == ids.size()) {
        RemoveRowsAscending(removed);
    } else {
        SetRows(std::move(ids));
    }
}

void ProgListModel::RefreshValues()
{
    m_finder.Forget(); // a name may have been edited
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

namespace {
template <class TList>
std::int32_t IdAfter(const TList& list, std::int32_t id)
{
    bool found = false;
    for (const auto& node : list) {
        if (found) {
            return node.Id();
        }
        found = node.Id() == id;
    }
    return InvalidId;
}
} // namespace

std::int32_t ProgListModel::IdAfterLastRow() const
{
    if (m_db == nullptr || m_ids.empty()) {
        return InvalidId;
    }
    const std::int32_t last = m_ids.back();
    switch (m_kind) {
    case ListKind::Programs:
        return IdAfter(m_db->Progs(), last);
    case ListKind::Transponders:
        return IdAfter(m_db->Tps(), last);
    case ListKind::Satellites:
        break;
    }
    return IdAfter(m_db->Sats(), last);
}

const CNode* ProgListModel::NodeAt(int row) const
{
    if (row < 0 || row >= rowCount()) {
        return nullptr;
    }
    return NodeOf(IdAt(row));
}

const CNode* ProgListModel::NodeOf(std::int32_t id) const
{
    if (m_db == nullptr) {
        return nullptr;
    }
    switch (m_kind) {
    case ListKind::Programs:
        return m_db->Progs().Find(id);
    case ListKind::Transponders:
        return m_db->Tps().Find(id);
    case ListKind::Satellites:
        break;
    }
    return m_db->Sats().Find(id);
}

std::string ProgListModel::CellText(int row, int column) const
{
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return IdCellText(IdAt(row), column);
}

std::string ProgListModel::IdCellText(std::int32_t id, int column) const
{
    if (column == 0) {
        return std::to_string(id);
    }
    const CNode* node = NodeOf(id);
    return node == nullptr ? std::string() : editor::CellText(m_kind, *node, column);
}

void ProgListModel::RemoveRowsAscending(const std::vector<int>& rows)
{
    // From the highest run down, so the indices still to remove stay valid.
    std::size_t end = rows.size();
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && rows[start - 1] + 1 == rows[start]) {
            --start;
        }
        const int first = rows[start];
        const int last = rows[end - 1];
        beginRemoveRows({}, first, last);
        m_ids.erase(m_ids.begin() + first, m_ids.begin() + last + 1);
        if (m_dropTarget >= first) {
            m_dropTarget = m_dropTarget <= last ? -1 : m_dropTarget - (last - first + 1);
        }
        endRemoveRows();
        end = start;
    }
}

void ProgListModel::InsertRow(int row, std::int32_t id)
{
    beginInsertRows({}, row, row);
    m_ids.insert(m_ids.begin() + row, id);
    if (m_dropTarget >= row) {
        ++m_dropTarget;
    }
    endInsertRows();
}

bool ProgListModel::PrepareValues(const FilterSpec& spec, std::vector<std::string>& values) const
{
    values.resize(spec.conditions.size());
    for (std::size_t i = 0; i < spec.conditions.size(); ++i) {
        if (!ToCellBytes(m_kind, spec.conditions[i], values[i])) {
            return false;
        }
    }
    return true;
}

bool ProgListModel::IdMatches(const FilterSpec& spec, const std::vector<std::string>& values, std::int32_t id) const
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (IdCellText(id, spec.conditions[i].column) != values[i]) {
            return false;
        }
    }
    return true;
}

std::vector<std::int32_t> ProgListModel::IdsMatching(const FilterSpec& spec, const std::vector<std::int32_t>& ids) const
{
    std::vector<std::int32_t> kept;
    std::vector<std::string> values;
    if (!PrepareValues(spec, values)) {
        return kept;
    }
    for (const std::int32_t id : ids) {
        if (NodeOf(id) != nullptr && IdMatches(spec, values, id)) {
            kept.push_back(id);
        }
    }
    return kept;
}

int ProgListModel::NextMatch(const FilterSpec& spec, int after) const
{
    std::vector<std::string> values;
    if (!PrepareValues(spec, values)) {
        return -1;
    }
    for (int row = after < 0 ? 0 : after + 1; row < rowCount(); ++row) {
        if (IdMatches(spec, values, IdAt(row))) {
            return row;
        }
    }
    return -1;
}

std::vector<int> ProgListModel::MatchingRows(const FilterSpec& spec) const
{
    std::vector<int> rows;
    std::vector<std::string> values;
    if (!PrepareValues(spec, values)) {
        return rows;
    }
    for (int row = 0; row < rowCount(); ++row) {
        if (IdMatches(spec, values, IdAt(row))) {
            rows.push_back(row);
        }
    }
    return rows;
}

void ProgListModel::SetDropTarget(int row)
{
    const int previous = m_dropTarget;
    m_dropTarget = row;
    EmitRowChanged(previous);
    EmitRowChanged(row);
}

void ProgListModel::EmitRowChanged(int row)
{
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

int ProgListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
}

int ProgListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_hasColumns ? 0 : static_cast<int>(ColumnHeaders(m_kind).size());
}

QVariant ProgListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole: {
        const std::string text = CellText(index.row(), index.column());
        return IsNameColumn(m_kind, index.column()) ? QString::fromStdString(InternalToUtf8(text))
                                                    : QString::fromStdString(text);
    }
    case Qt::UserRole:
        return IdAt(index.row());
    case Qt::ToolTipRole: {
        const CNode* node = NodeAt(index.row());
        const std::string tip = node == nullptr ? std::string() : CellToolTip(m_kind, *node, index.column());
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    case Qt::EditRole:
        return EditValue(index);
    case Qt::BackgroundRole:
        if (index.row() == m_dropTarget) {
            return QGuiApplication::palette().brush(QPalette::Highlight);
        }
        return {};
    case Qt::ForegroundRole:
        if (index.row() == m_dropTarget) {
            return QGuiApplication::palette().brush(QPalette::HighlightedText);
        }
        return {};
    default:
        return {};
    }
}

const core::FieldInfo* ProgListModel::FieldAt(int column) const
{
    if (column <= 0 || column >= columnCount()) {
        return nullptr;
    }
    const std::string_view header = ColumnHeaders(m_kind)[static_cast<std::size_t>(column)];
    return core::FindFieldByHeader(NodeTypeOf(m_kind), header);
}

QVariant ProgListModel::EditValue(const QModelIndex& index) const
{
    const core::FieldInfo* field = FieldAt(index.column());
    const CNode* node = NodeAt(index.row());
    if (field == nullptr || node == nullptr) {
        return {};
    }
    if (field->IsName()) {
        return QString::fromStdString(InternalToUtf8(core::NodeName(*node)));
    }
    return static_cast<qulonglong>(core::FieldValue(*node, *field));
}

Qt::ItemFlags ProgListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && m_history != nullptr && FieldAt(index.column()) != nullptr
        && NodeAt(index.row()) != nullptr) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool ProgListModel::EditCell(const QModelIndex& index, const QVariant& value)
{
    const core::FieldInfo* field = FieldAt(index.column());
    if (m_history == nullptr || field == nullptr || NodeAt(index.row()) == nullptr) {
        return false;
    }
    const std::int32_t id = IdAt(index.row());
    if (field->IsName()) {
        return m_history->Do(core::RenameNode(NodeTypeOf(m_kind), id, value.toByteArray().toStdString()));
    }
    return m_history->Do(core::SetField(
        NodeTypeOf(m_kind), id, std::string(field->name), static_cast<std::uint32_t>(value.toULongLong())));
}

QVariant ProgListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const std::string_view header = ColumnHeaders(m_kind)[static_cast<std::size_t>(section)];
    return QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
}

} // namespace editor
