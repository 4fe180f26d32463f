#pragma once

#include <string>

namespace core {

// The fixed workbook that CExcelBook::Create writes: UTF-8 without a mark, CR LF line ends, one
// space of indentation per level, 49 lines, one empty sheet "Satellites" and the hyperlink style "s21".
std::string ExcelWorkbookTemplate();

} // namespace core
