#pragma once

#include "editor/models/FilterSpec.h"
#include "editor/models/ListColumns.h"
#include "editor/models/NameFinder.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace core {
class CEditHistory;
class CNode;
class CProgDb;
struct FieldInfo;
} // namespace core

namespace editor {

// The rows of the program list: one node id per row, cells rendered from the node on demand, so
// the memory for a list grows with its rows, never with its cells. Rows whose node has left the
// database keep their id and show nothing else.
class ProgListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ProgListModel(QObject* parent = nullptr);

    // Remembers the database and shows nothing, not even columns.
    void AttachDatabase(core::CProgDb* db);
    core::CProgDb* Database() const { return m_db; }
    // The history cell edits go through; none leaves every cell read-only.
    void SetHistory(core::CEditHistory* history) { m_history = history; }

    // The field a cell of the column edits, or nullptr when the column is read-only (the id, and
    // on a program row the transponder's columns).
    const core::FieldInfo* FieldAt(int column) const;
    // Applies a cell's new value through the history: a raw number for a number or drop-down field,
    // name bytes in the internal code page for a name. False when it was refused.
    [[nodiscard]] bool EditCell(const QModelIndex& index, const QVariant& value);

    // Every node of the kind, or those whose ParentId is parentId (satellites ignore the id).
    void ShowItems(ListKind kind, std::int32_t parentId);
    ListKind Kind() const { return m_kind; }
    // The parent the rows were chosen by (-1: every node of the kind).
    std::int32_t ParentId() const { return m_parentId; }
    bool HasColumns() const { return m_hasColumns; }

    // Replaces the rows by these ids, in this order, keeping the columns.
    void SetRows(std::vector<std::int32_t> ids);
    // Keeps only the rows that match every condition; Refresh applies the filter again.
    void AddFilter(const FilterSpec& spec);
    // Keeps only the rows whose name contains the text, ignoring case (transponders, which have no
    // name, by their "id-frequency-symbol rate" text as the tree shows them); empty shows them all.
    // The text stays in force for every list shown until it is changed.
    void SetFindText(const QString& text);
    const QString& FindText() const { return m_findText; }
    // Drops the find text without touching the rows: the next ShowItems shows every node.
    void ForgetFindText() { m_findText.clear(); }
    // A filter or the find text hides some of the nodes of the kind and parent shown.
    bool IsNarrowed() const { return m_hasColumns && (!m_filters.empty() || !m_findText.isEmpty()); }
    // How many nodes of the kind and parent shown there are, hidden ones included.
    int TotalRows() const { return static_cast<int>(m_total); }
    // The internal code page changed: names read differently, and may match the find text differently.
    void CodePageChanged();
    // Collects the rows again after the database changed: the nodes of the kind and parent shown,
    // in list order, narrowed by the filters applied since ShowItems and by the find text.
    void Refresh();
    // Every cell of every row may show another value.
    void RefreshValues();
    // The id of the node that follows the last row's node in the database's list, InvalidId when
    // there is none (or no row): the place before which a node goes to follow every row.
    std::int32_t IdAfterLastRow() const;
    const std::vector<std::int32_t>& RowIds() const { return m_ids; }
    std::int32_t IdAt(int row) const { return m_ids[static_cast<std::size_t>(row)]; }

    // The node a row stands for, looked up by id; nullptr once it has left the database.
    const core::CNode* NodeAt(int row) const;
    // The cell as the list shows it, in the internal code page; empty for a vanished node.
    std::string CellText(int row, int column) const;

    // Removes rows given in ascending order; runs of neighbours go in one step.
    void RemoveRowsAscending(const std::vector<int>& rows);
    void InsertRow(int row, std::int32_t id);

    // The first row after `after` (from the top when negative) whose cells equal every condition; -1 when none.
    int NextMatch(const FilterSpec& spec, int after) const;
    // Every row NextMatch would return walking from the top, in one pass.
    std::vector<int> MatchingRows(const FilterSpec& spec) const;

    // The row that carries the drop highlight, or -1.
    void SetDropTarget(int row);
    int DropTarget() const { return m_dropTarget; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<std::int32_t> CollectRows() const;
    const core::CNode* NodeOf(std::int32_t id) const;
    std::string IdCellText(std::int32_t id, int column) const;
    // The ids of these that match every condition, in their order; ids whose node is gone never match.
    std::vector<std::int32_t> IdsMatching(const FilterSpec& spec, const std::vector<std::int32_t>& ids) const;
    std::vector<std::int32_t> Found(const std::vector<std::int32_t>& ids);
    std::string FindableText(std::int32_t id) const;
    QVariant EditValue(const QModelIndex& index) const;
    void EmitRowChanged(int row);
    // The condition values as the cells hold them; false when one can match no cell.
    [[nodiscard]] bool PrepareValues(const FilterSpec& spec, std::vector<std::string>& values) const;
    bool IdMatches(const FilterSpec& spec, const std::vector<std::string>& values, std::int32_t id) const;

    core::CProgDb* m_db = nullptr;
    core::CEditHistory* m_history = nullptr;
    ListKind m_kind = ListKind::Satellites;
    std::int32_t m_parentId = -1;
    std::vector<FilterSpec> m_filters;
    bool m_hasColumns = false;
    std::vector<std::int32_t> m_baseIds; // the rows before the find text narrows them
    std::vector<std::int32_t> m_ids; // the rows shown
    std::size_t m_total = 0; // nodes of the kind and parent, before any narrowing
    QString m_findText;
    NameFinder m_finder;
    int m_dropTarget = -1;
};

} // namespace editor
