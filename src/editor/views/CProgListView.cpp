#include "editor/views/CProgListView.h"

#include "db/CProgDb.h"
#include "editor/dialogs/CFilterDlg.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/DeadEditKeys.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

using core::CProgDb;

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
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    connect(m_model, &QAbstractItemModel::modelReset, this, &CProgListView::RowCountChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CProgListView::RowCountChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CProgListView::RowCountChanged);
}

CProgListView::~CProgListView() = default;

void CProgListView::AttachDatabase(CProgDb* db)
{
    m_model->AttachDatabase(db);
}

void CProgListView::ShowItems(ListKind kind, std::int32_t id)
{
    m_model->ShowItems(kind, id);
    for (int column = 0; column < m_model->columnCount(); ++column) {
        setColumnWidth(column, kColumnWidth);
    }
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

bool CProgListView::DeleteNode(std::int32_t id)
{
    CProgDb* db = m_model->Database();
    if (db == nullptr) {
        return false;
    }
    switch (Kind()) {
    case ListKind::Programs:
        return db->Progs().Delete(id);
    case ListKind::Transponders:
        return db->Tps().Delete(id);
    case ListKind::Satellites:
        break;
    }
    return db->Sats().Delete(id);
}

void CProgListView::RemoveDependants(const std::vector<std::int32_t>& deletedIds)
{
    CProgDb* db = m_model->Database();
    if (deletedIds.empty() || Kind() == ListKind::Programs) {
        return; // a program has no dependants and leaves the tree as it is
    }
    if (Kind() == ListKind::Satellites) {
        db->RemoveSatelliteDependants(deletedIds);
    } else {
        db->RemoveTransponderDependants(deletedIds);
    }
    emit RefreshTreeRequested();
}

void CProgListView::DeleteSelected()
{
    const std::vector<int> selected = SelectedRowsAscending();
    std::vector<int> removed;
    std::vector<std::int32_t> deletedIds;
    for (const int row : selected) {
        const std::int32_t id = m_model->IdAt(row);
        if (DeleteNode(id)) {
            deletedIds.push_back(id);
            removed.push_back(row);
        }
    }
    if (removed.empty()) {
        return;
    }
    // Dependants go in one walk per list for all deleted nodes, with one tree rebuild.
    RemoveDependants(deletedIds);
    m_model->RemoveRowsAscending(removed);

    const int k = removed.front();
    if (k > 0 && RowCount() > 0) {
        SelectRow(k < RowCount() ? k : 0);
    }
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
    std::vector<std::int32_t> ids;
    for (const int row : m_model->MatchingRows(spec)) {
        if (m_model->NodeAt(row) != nullptr) {
            ids.push_back(m_model->IdAt(row));
        }
    }
    m_model->SetRows(std::move(ids));
}

int CProgListView::NextMatch(const FilterSpec& spec, int after) const
{
    return m_model->NextMatch(spec, after);
}

bool CProgListView::MoveNode(std::int32_t sourceId, std::int32_t targetId)
{
    CProgDb* db = m_model->Database();
    if (db == nullptr) {
        return false;
    }
    switch (Kind()) {
    case ListKind::Programs:
        return db->Progs().Move(sourceId, targetId);
    case ListKind::Transponders:
        return db->Tps().Move(sourceId, targetId);
    case ListKind::Satellites:
        break;
    }
    return db->Sats().Move(sourceId, targetId);
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
    }
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
    if (selected.size() == 1) {
        DropOneRow();
    } else {
        DropSeveralRows(selected);
    }
}

void CProgListView::DropOneRow()
{
    int target = m_dropTarget;
    if (m_dragSource == target || m_dragSource >= RowCount() || target >= RowCount()) {
        return;
    }
    const std::int32_t sourceId = m_model->IdAt(m_dragSource);
    if (!MoveNode(sourceId, m_model->IdAt(target))) {
        return;
    }
    m_model->RemoveRowsAscending({m_dragSource});
    if (m_dragSource < target) {
        --target;
    }
    m_model->InsertRow(target, sourceId);
    selectionModel()->clearSelection();
    SelectRow(target);
}

void CProgListView::DropSeveralRows(const std::vector<int>& rows)
{
    // A selection of every row leaves no row to drop before: the rows stay as they are.
    if (static_cast<int>(rows.size()) >= RowCount()) {
        return;
    }
    std::vector<std::int32_t> ids;
    int target = m_dropTarget;
    for (const int row : rows) {
        ids.push_back(m_model->IdAt(row));
        if (row < m_dropTarget) {
            --target;
        }
    }
    m_model->RemoveRowsAscending(rows);
    selectionModel()->clearSelection();
    for (const std::int32_t id : ids) {
        target = std::clamp(target, 0, RowCount() - 1);
        if (!MoveNode(id, m_model->IdAt(target))) {
            continue; // its node is gone: the row stays out of the view
        }
        m_model->InsertRow(target, id);
        SelectRow(target);
        ++target;
    }
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
