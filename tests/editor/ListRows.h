#pragma once

#include <QList>

namespace editor {

class CProgListView;
class ProgListModel;

// The rows selected in a list, in row order.
QList<int> SelectedRows(const CProgListView& view);

// The ids of a list's rows, in row order.
QList<int> RowIdList(const ProgListModel& model);

} // namespace editor
