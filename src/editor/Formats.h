#pragma once

namespace editor {

// The spreadsheet classes come from their own folder; a build without it leaves the spreadsheet
// commands disabled and makes no side copy. CMake defines the switch from what the tree holds.
#ifndef CORVANE_WITH_SPREADSHEETS
#define CORVANE_WITH_SPREADSHEETS 0
#endif

} // namespace editor
