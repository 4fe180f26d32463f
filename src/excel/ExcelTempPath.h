#pragma once

#include <string>

namespace core {

// A path for a scratch workbook in the same folder as path (so a rename over path is one step),
// not naming any file that exists now.
std::string ExcelTempPath(const std::string& path);

} // namespace core
