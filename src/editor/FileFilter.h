#pragma once

#include <string>
#include <string_view>

namespace editor {

// The file-dialog filters, as description and pattern pairs separated by bars and ended by two bars.
inline constexpr std::string_view kProgramDbFilter = "Program Db File(*.db)|*.db|All Files (*.*)|*.*||";
inline constexpr std::string_view kBinaryFilter = "Binary File(*.bin)|*.bin|All Files (*.*)|*.*||";
inline constexpr std::string_view kExcelFilter = "Excel File(*.xls)|*.xls|All Files (*.*)|*.*||";

// Turns a bar-separated filter into a Qt name filter list ("desc (patterns);;..."). The description
// is kept as the user sees it; "*.*" becomes "*" so files without an extension are listed too.
std::string ToQtNameFilter(std::string_view barFilter);

} // namespace editor
