#pragma once

#include "editor/models/FilterSpec.h"
#include "editor/models/ListKind.h"

#include <QPoint>
#include <QTableView>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QLabel;

namespace core {
class CProgDb;
} // namespace core

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

class ProgListModel;

// The right pane: satellites, transponders or programs of the database, one row per node. The
// Delete key removes nodes with their dependants, dragging rows reorders nodes within their list,
// and Filter narrows the rows shown.
class CProgListView final : public QTableView
{
    Q_OBJECT

public:
    CProgListView(ui::UiServices& services, QWidget* parent = nullptr);
    ~CProgListView() override;

    // Remembers the database and empties the list, columns included.
    void AttachDatabase(core::CProgDb* db);
    // Shows the nodes of a kind whose ParentId is id (every node for -1; satellites ignore it).
    void ShowItems(ListKind kind, std::int32_t id);

    ListKind Kind() const;
    int RowCount() const;
    QStringList HeaderTexts() const;
    ProgListModel& Model() { return *m_model; }

    // Deletes the nodes of the selected rows with their dependants, then their rows.
    void DeleteSelected();
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
    // Satellites or transponders were deleted: the tree must be rebuilt.
    void RefreshTreeRequested();
    // The number of rows changed (the Filter command is enabled from two rows).
    void RowCountChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<int> SelectedRowsAscending() const;
    [[nodiscard]] bool DeleteNode(std::int32_t id);
    void RemoveDependants(const std::vector<std::int32_t>& deletedIds);
    [[nodiscard]] bool MoveNode(std::int32_t sourceId, std::int32_t targetId);
    void Drop();
    void DropOneRow();
    void DropSeveralRows(const std::vector<int>& rows);
    void SelectRow(int row);
    std::unique_ptr<QLabel> MakeDragImage(int row) const;
    void AutoScrollStep();

    ui::UiServices& m_services;
    ProgListModel* m_model;
    bool m_dragging = false;
    int m_dragSource = -1;
    int m_dropTarget = -1;
    std::unique_ptr<QLabel> m_dragImage;
    int m_pressRow = -1;
    QPoint m_pressPos;
    // While the pointer rests near the top or bottom edge during a drag, the rows scroll under it.
    QTimer m_autoScroll;
    QPoint m_lastDragPos;
};

} // namespace editor
