#include "editor/views/CProgListView.h"

#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "edit/DeleteNodes.h"
#include "edit/MoveNodes.h"
#include "editor/dialogs/CFilterDlg.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CellEditDelegate.h"
#include "editor/views/DeadEditKeys.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

using core::CEditHistory;
using core::CProgDb;
using core::EditChange;
using core::InvalidId;
using core::ListChange;

namespace editor {

namespace {
constexpr int kColumnWidth = 80;
const QPoint kDragImageOffset(10, 14); // the image's top-left corner, from the pointer
constexpr int kAutoScrollMargin = 12; // pixels from the top or bottom edge
constexpr int kAutoScrollIntervalMs = 60;

const char* FilterCaption(ListKind kind)
{
    switch (kind) {
    case ListKind::Programs:
        return "Prog Filter";
    case ListKind::Transponders:
        return "Tp Filter";
    case ListKind::Satellites:
        break;
    }
    return "Sat Filter";
}
} // namespace

CProgListView::CProgListView(ui::UiServices& services, QWidget* parent)
    : QTableView(parent)
    , m_services(services)
    , m_model(new ProgListModel(this))
{
    setObjectName("progList");
    setModel(m_model);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setItemDelegate(new CellEditDelegate(*m_model, services, this));
    // F2 or a double-click edits a cell; typing over a cell does not.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setSortingEnabled(false);
    setWordWrap(false);
    setDragEnabled(true); // a press on a selected row keeps the selection, so several rows can be dragged
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    m_autoScroll.setInterval(kAutoScrollIntervalMs);
    connect(&m_autoScroll, &QTimer::timeout, this, &CProgListView::AutoScrollStep);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &CProgListView::OnSectionResized);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CProgListView::RowCountChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CProgListView::RowCountChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CProgListView::RowCountChanged);
}

CProgListView::~CProgListView()
{
    DetachHistory();
}

void CProgListView::AttachDatabase(CProgDb* db, CEditHistory* history)
{
    DetachHistory();
    m_model->AttachDatabase(db);
    m_model->SetHistory(history);
    m_history = history;
    if (m_history != nullptr) {
        m_history->AddObserver(*this);
    }
}

void CProgListView::DetachHistory()
{
    if (m_history != nullptr) {
        m_history->RemoveObserver(*this);
        m_history = nullptr;
    }
}

bool CProgListView::DoEdit(std::unique_ptr<core::IEdit> edit)
{
    return m_history != nullptr && m_history->Do(std::move(edit));
}

void CProgListView::DatabaseEdited(const EditChange& change)
{
    const bool treeChanged = change.sats != ListChange::None || change.tps != ListChange::None;
    // A list shows its own kind and, on a program row, its transponder's values: rows come and go
    // or change places only with their own list, values with any.
    const ListChange own = change.Of(NodeTypeOf(Kind()));
    if (own == ListChange::Rows || own == ListChange::Moved || change.Of(core::Sat) == ListChange::Rows
        || change.Of(core::Tp) == ListChange::Rows) {
        m_model->Refresh();
        if (change.nodeId != InvalidId && change.nodeKind == NodeTypeOf(Kind())) {
            SelectIds({change.nodeId});
        }
    } else if (change.Any()) {
        m_model->RefreshValues();
    }
    if (treeChanged) {
        emit RefreshTreeRequested();
    }
}

void CProgListView::ShowItems(ListKind kind, std::int32_t id)
{
    m_applyingWidths = true; // the header's own resizing is no edit of the user's
    m_model->ShowItems(kind, id);
    const QList<int>& widths = m_columnWidths[static_cast<std::size_t>(kind)];
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const int width = widths.value(column, 0);
        setColumnWidth(column, width > 0 ? width : kColumnWidth);
    }
    m_applyingWidths = false;
    // Another list starts at its top-left corner, so nothing selected in the previous one (or
    // scrolled out of sight) can be mistaken for a row of this one.
    selectionModel()->clearSelection();
    scrollToTop();
    horizontalScrollBar()->setValue(0);
    if (RowCount() > 0) {
        SelectRow(0);
    } else {
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
}

void CProgListView::SetColumnWidths(ListKind kind, const QList<int>& widths)
{
    m_columnWidths[static_cast<std::size_t>(kind)] = widths;
}

QList<int> CProgListView::ColumnWidths(ListKind kind) const
{
    return m_columnWidths[static_cast<std::size_t>(kind)];
}

void CProgListView::OnSectionResized()
{
    if (m_applyingWidths || !m_model->HasColumns()) {
        return;
    }
    QList<int> widths;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        widths.append(columnWidth(column));
    }
    m_columnWidths[static_cast<std::size_t>(Kind())] = widths;
    emit ColumnWidthsEdited(Kind(), widths);
}

ListKind CProgListView::Kind() const
{
    return m_model->Kind();
}

int CProgListView::RowCount() const
{
    return m_model->rowCount();
}

QStringList CProgListView::HeaderTexts() const
{
    QStringList headers;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        headers.append(m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    return headers;
}

std::vector<int> CProgListView::SelectedRowsAscending() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::int32_t> CProgListView::IdsOfRows(const std::vector<int>& rows) const
{
    std::vector<std::int32_t> ids;
    ids.reserve(rows.size());
    for (const int row : rows) {
        ids.push_back(m_model->IdAt(row));
    }
    return ids;
}

bool CProgListView::HasSelection() const
{
    return !selectionModel()->selectedRows().isEmpty();
}

void CProgListView::DeleteSelected()
{
    const std::vector<int> selected = SelectedRowsAscending();
    if (selected.empty() || !DoEdit(core::DeleteNodes(NodeTypeOf(Kind()), IdsOfRows(selected)))) {
        return;
    }
    selectionModel()->clearSelection();
    const int k = selected.front();
    if (k > 0 && RowCount() > 0) {
        SelectRow(k < RowCount() ? k : 0);
    }
}

std::int32_t CProgListView::ShownParent() const
{
    return m_model->ParentId();
}

std::int32_t CProgListView::CurrentId() const
{
    const int row = currentIndex().row();
    return row >= 0 && row < RowCount() ? m_model->IdAt(row) : InvalidId;
}

bool CProgListView::SortShownRows(const std::string& key, core::SortOrder order)
{
    const std::vector<std::int32_t> ids = m_model->RowIds();
    return !ids.empty() && DoEdit(core::SortNodes(NodeTypeOf(Kind()), ids, key, order));
}

void CProgListView::SelectIds(const std::vector<std::int32_t>& ids)
{
    selectionModel()->clearSelection();
    const std::vector<std::int32_t>& rows = m_model->RowIds();
    bool first = true;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (std::find(ids.begin(), ids.end(), rows[row]) != ids.end()) {
            SelectRow(static_cast<int>(row));
            if (first) {
                scrollTo(m_model->index(static_cast<int>(row), 0));
                first = false;
            }
        }
    }
}

void CProgListView::MoveSelectedBefore(std::int32_t beforeId)
{
    const std::vector<std::int32_t> ids = IdsOfRows(SelectedRowsAscending());
    if (ids.empty() || !DoEdit(core::MoveNodes(NodeTypeOf(Kind()), ids, beforeId))) {
        return;
    }
    SelectIds(ids);
}

void CProgListView::MoveSelectedUp()
{
    const std::vector<int> selected = SelectedRowsAscending();
    if (!selected.empty()) {
        MoveSelectedBefore(m_model->IdAt(std::max(selected.front() - 1, 0)));
    }
}

void CProgListView::MoveSelectedDown()
{
    const std::vector<int> selected = SelectedRowsAscending();
    if (selected.empty()) {
        return;
    }
    // The block goes below the first row after it that stays where it is.
    int below = selected.back() + 1;
    const int rows = RowCount();
    const auto isSelected = [&selected](int row) { return std::binary_search(selected.begin(), selected.end(), row); };
    while (below < rows && isSelected(below)) {
        ++below;
    }
    const int before = below + 1;
    MoveSelectedBefore(before < rows ? m_model->IdAt(before) : m_model->IdAfterLastRow());
}

void CProgListView::MoveSelectedToTop()
{
    if (RowCount() > 0) {
        MoveSelectedBefore(m_model->IdAt(0));
    }
}

void CProgListView::MoveSelectedToBottom()
{
    MoveSelectedBefore(m_model->IdAfterLastRow());
}

void CProgListView::SelectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void CProgListView::Filter()
{
    if (RowCount() == 0) {
        return;
    }
    FilterSpec spec;
    CFilterDlg dialog(spec, HeaderTexts(), m_services, this);
    dialog.SetCaption(FilterCaption(Kind()));
    if (m_services.ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    m_model->AddFilter(spec);
}

int CProgListView::NextMatch(const FilterSpec& spec, int after) const
{
    return m_model->NextMatch(spec, after);
}

std::unique_ptr<QLabel> CProgListView::MakeDragImage(int row) const
{
    QRect rect = visualRect(m_model->index(row, 0));
    rect.setLeft(0);
    rect.setRight(std::min(viewport()->width(), horizontalHeader()->length()) - 1);
    auto image = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    image->setObjectName("dragImage");
    image->setPixmap(viewport()->grab(rect));
    image->setWindowOpacity(0.7);
    image->adjustSize();
    return image;
}

void CProgListView::BeginDrag(int sourceRow)
{
    if (sourceRow < 0 || sourceRow >= RowCount()) {
        return;
    }
    m_dragSource = sourceRow;
    m_dragImage = MakeDragImage(sourceRow);
    m_dragImage->move(QCursor::pos() + kDragImageOffset);
    m_dragImage->show();
    m_dragging = true;
    m_dropTarget = -1;
    viewport()->grabMouse();
}

void CProgListView::DragMoveTo(const QPoint& viewportPos)
{
    if (!m_dragging) {
        return;
    }
    m_dragImage->move(viewport()->mapToGlobal(viewportPos) + kDragImageOffset);
    m_lastDragPos = viewportPos;
    if (!viewport()->rect().contains(viewportPos)) {
        m_autoScroll.stop();
        return; // outside the view the target stays as it was
    }
    const bool nearEdge
        = viewportPos.y() < kAutoScrollMargin || viewportPos.y() >= viewport()->height() - kAutoScrollMargin;
    if (nearEdge && !m_autoScroll.isActive()) {
        m_autoScroll.start();
    } else if (!nearEdge) {
        m_autoScroll.stop();
    }
    viewport()->setCursor(Qt::ArrowCursor);
    const QModelIndex over = indexAt(viewportPos);
    if (over.isValid()) {
        m_dropTarget = over.row();
        m_model->SetDropTarget(m_dropTarget);
    } else if (IsBelowLastRow(viewportPos)) {
        m_dropTarget = RowCount(); // after the last row: a line under it shows the place
        m_model->SetDropTarget(m_dropTarget);
    }
    viewport()->update();
}

void CProgListView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (!m_dragging || m_dropTarget != RowCount() || RowCount() == 0) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    const int y = visualRect(m_model->index(RowCount() - 1, 0)).bottom();
    painter.drawLine(0, y, viewport()->width(), y);
}

bool CProgListView::IsBelowLastRow(const QPoint& viewportPos) const
{
    const int rows = RowCount();
    return rows > 0 && viewportPos.y() > visualRect(m_model->index(rows - 1, 0)).bottom();
}

void CProgListView::AutoScrollStep()
{
    if (!m_dragging) {
        m_autoScroll.stop();
        return;
    }
    const int step = m_lastDragPos.y() < kAutoScrollMargin ? -1 : 1;
    verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
    DragMoveTo(m_lastDragPos); // the row under the pointer has changed
}

void CProgListView::EndDrag()
{
    if (!m_dragging) {
        return;
    }
    m_autoScroll.stop();
    viewport()->releaseMouse();
    m_dragging = false;
    m_dragImage.reset();
    Drop();
}

void CProgListView::Drop()
{
    const std::vector<int> selected = SelectedRowsAscending();
    if (m_dragSource < 0 || m_dropTarget < 0 || selected.empty()) {
        return;
    }
    m_model->SetDropTarget(-1);
    const int target = m_dropTarget;
    // The rows go before the row that takes the target's place once they are out of the list: the
    // target itself, or when it is one of them, the next row that stays. Past the last row that
    // stays they go before it; a selection of every row stays as it is.
    std::vector<std::int32_t> staying;
    int place = target;
    for (int row = 0; row < RowCount(); ++row) {
        if (std::binary_search(selected.begin(), selected.end(), row)) {
            place -= row < target ? 1 : 0;
        } else {
            staying.push_back(m_model->IdAt(row));
        }
    }
    if (staying.empty() || (selected.size() == 1 && selected.front() == target)) {
        return;
    }
    if (target >= RowCount()) {
        MoveSelectedBefore(m_model->IdAfterLastRow()); // dropped below the last row
        return;
    }
    place = std::clamp(place, 0, static_cast<int>(staying.size()) - 1);
    MoveSelectedBefore(staying[static_cast<std::size_t>(place)]);
}

void CProgListView::keyPressEvent(QKeyEvent* event)
{
    if (IsDeadEditKey(*event)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        DeleteSelected();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CProgListView::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    m_pressRow = -1;
    if (event->button() == Qt::LeftButton) {
        m_pressRow = indexAt(event->position().toPoint()).row();
        m_pressPos = event->position().toPoint();
    }
}

void CProgListView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragging) {
        DragMoveTo(pos);
        return;
    }
    if (event->buttons().testFlag(Qt::LeftButton) && m_pressRow >= 0) {
        if ((pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            BeginDrag(m_pressRow);
            DragMoveTo(pos);
        }
        return; // rows are not selected by sweeping while a drag may start
    }
    QTableView::mouseMoveEvent(event);
}

void CProgListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_pressRow = -1;
        EndDrag();
        return;
    }
    m_pressRow = -1;
    QTableView::mouseReleaseEvent(event);
}

} // namespace editor
