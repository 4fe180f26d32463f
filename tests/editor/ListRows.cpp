#include "ListRows.h"

#include "editor/models/ProgListModel.h"
#include "editor/views/CProgListView.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace editor {

QList<int> SelectedRows(const CProgListView& view)
{
    QList<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> RowIdList(const ProgListModel& model)
{
    QList<int> ids;
    for (const std::int32_t id : model.RowIds()) {
        ids << id;
    }
    return ids;
}

} // namespace editor
