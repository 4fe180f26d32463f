#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace core {
class CEditHistory;
} // namespace core

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

// The file-dialog filter of Order Like...: default databases and workbooks.
inline constexpr const char* kReferenceFilter
    = "Reference List (*.db;*.xls)|*.db;*.xls|Program Db File(*.db)|*.db|Excel File(*.xls)|*.xls|All Files "
      "(*.*)|*.*||";

// Order Like...: asks for a default database or a workbook, reads it (by its extension, like Open)
// as a reference and puts the programs in its order through the history, as one edit. Returns the
// status-bar text ("Matched 2150 of 2206 programs"); nothing when the dialog was cancelled or the
// reference could not be read, which is shown as a message box and changes nothing.
std::optional<QString> RunOrderLike(ui::UiServices& services, QWidget* parent, core::CEditHistory& history);

} // namespace editor
