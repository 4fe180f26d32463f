#pragma once

#include <string>

namespace editor {

// Before every import from a file dialog: when the chosen file reads as a default-database file,
// its content is also written as a spreadsheet beside it (ch.db gives ch.dbxls). Nothing is
// reported; a rejected read leaves its reason pending, as every reader does.
void MakeSpreadsheetSideCopy(const std::string& path);

} // namespace editor
