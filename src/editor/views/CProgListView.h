#pragma once

#include "edit/IEditObserver.h"
#include "edit/SortNodes.h"
#include "editor/models/FilterSpec.h"
#include "editor/models/ListKind.h"

#include <QPoint>
#include <QTableView>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QLabel;

namespace core {
class CEditHistory;
class CProgDb;
class IEdit;
} // namespace core

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

class ProgListModel;

// The right pane: satellites, transponders or programs of the database, one row per node. The
// Delete key removes nodes with their dependants, dragging rows reorders nodes within their list,
// and Filter narrows the rows shown. Every change goes through the database's edit history; the
// rows follow what the history reports, whoever asked for the change.
class CProgListView final : public QTableView, private core::IEditObserver
{
    Q_OBJECT

public:
    CProgListView(ui::UiServices& services, QWidget* parent = nullptr);
    ~CProgListView() override;

    // Remembers the database and the history its changes go through, and empties the list,
    // columns included. The view listens to the history until another one is attached.
    void AttachDatabase(core::CProgDb* db, core::CEditHistory* history);
    // Shows the nodes of a kind whose ParentId is id (every node for -1; satellites ignore it),
    // from the top-left, with the first row selected and current.
    void ShowItems(ListKind kind, std::int32_t id);
    // The column widths a kind's list starts with from now on (80 pixels where none is given).
    void SetColumnWidths(ListKind kind, const QList<int>& widths);
    QList<int> ColumnWidths(ListKind kind) const;

    ListKind Kind() const;
    int RowCount() const;
    QStringList HeaderTexts() const;
    ProgListModel& Model() { return *m_model; }

    // Deletes the nodes of the selected rows with their dependants, then their rows.
    void DeleteSelected();
    // Moves the selected rows' nodes, as a block in list order, one row up or down among the rows
    // shown, or above the first or below the last of them.
    void MoveSelectedUp();
    void MoveSelectedDown();
    void MoveSelectedToTop();
    void MoveSelectedToBottom();
    bool HasSelection() const;
    // The parent the shown rows were chosen by (-1: every node of the kind).
    std::int32_t ShownParent() const;
    // The node of the current row, InvalidId when there is none.
    std::int32_t CurrentId() const;
    // Selects the rows of these nodes, the first of them scrolled into view.
    void SelectIds(const std::vector<std::int32_t>& ids);
    // Sorts the shown rows' nodes by a key (SortNodes) among their places; false when refused.
    [[nodiscard]] bool SortShownRows(const std::string& key, core::SortOrder order);
    // Asks for filter conditions and keeps only the matching rows.
    void Filter();
    // The next row after `after` (from the top when negative) that matches every condition; -1 when none.
    int NextMatch(const FilterSpec& spec, int after) const;

    // A drag of rows with the left button, as the mouse drives it: start on a row, pointer moves
    // (in viewport coordinates), button release. Public so the steps can be driven one by one.
    void BeginDrag(int sourceRow);
    void DragMoveTo(const QPoint& viewportPos);
    void EndDrag();
    bool IsDragging() const { return m_dragging; }

signals:
    // Satellites or transponders changed (added, deleted, moved, renamed): the tree must be rebuilt.
    void RefreshTreeRequested();
    // The number of rows changed (the Filter command is enabled from two rows).
    void RowCountChanged();
    // The user resized a column (by dragging or by fitting it to its contents).
    void ColumnWidthsEdited(ListKind kind, const QList<int>& widths);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void DatabaseEdited(const core::EditChange& change) override;
    void DetachHistory();
    [[nodiscard]] bool DoEdit(std::unique_ptr<core::IEdit> edit);
    std::vector<int> SelectedRowsAscending() const;
    std::vector<std::int32_t> IdsOfRows(const std::vector<int>& rows) const;
    // Moves the nodes of the selected rows before beforeId (InvalidId: the end of the list) and
    // selects their rows.
    void MoveSelectedBefore(std::int32_t beforeId);
    void Drop();
    // The pointer is in the empty part of the view below the last row.
    bool IsBelowLastRow(const QPoint& viewportPos) const;
    void SelectRow(int row);
    std::unique_ptr<QLabel> MakeDragImage(int row) const;
    void AutoScrollStep();
    void OnSectionResized();

    ui::UiServices& m_services;
    ProgListModel* m_model;
    core::CEditHistory* m_history = nullptr;
    bool m_dragging = false;
    int m_dragSource = -1;
    int m_dropTarget = -1;
    std::unique_ptr<QLabel> m_dragImage;
    int m_pressRow = -1;
    QPoint m_pressPos;
    // While the pointer rests near the top or bottom edge during a drag, the rows scroll under it.
    QTimer m_autoScroll;
    QPoint m_lastDragPos;
    std::array<QList<int>, 3> m_columnWidths; // by ListKind, as last set or resized
    bool m_applyingWidths = false;
};

} // namespace editor
