#pragma once

#include <string>

namespace editor {

// The side copy made in one go on the calling thread: when the file reads as a default-database
// file, its content is written as a spreadsheet beside it (ch.db gives ch.dbxls). Nothing is
// reported and nothing is left pending. The window writes its copies on a worker from the
// database it has read (SideCopyJob); the result is the same file.
void MakeSpreadsheetSideCopy(const std::string& path);

} // namespace editor
