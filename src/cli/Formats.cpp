#include "cli/Formats.h"

#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"
#include "excel/CAccessExcelIn.h"
#include "excel/CAccessExcelOut.h"

#include <strings.h>

using core::CAccessDbIn;
using core::CAccessDbOut;
using core::CAccessExcelIn;
using core::CAccessExcelOut;
using core::CAccessUserDb25In;
using core::CAccessUserDbIn;

namespace cli {

namespace {
template <class T>
std::function<std::unique_ptr<T>()> Make()
{
    return [] { return std::make_unique<T>(); };
}
} // namespace

const std::vector<FileFormat>& FileFormats()
{
    static const std::vector<FileFormat> formats{
        {"db", "db", Make<CAccessDbIn>(), Make<CAccessDbOut>()},
        {"xls", "xls", Make<CAccessExcelIn>(), Make<CAccessExcelOut>()},
        // Flash images have no extension of their own: they are read only when --from names them.
        {"userdb", "", Make<CAccessUserDbIn>(), {}},
        {"userdb25", "", Make<CAccessUserDb25In>(), {}},
    };
    return formats;
}

const FileFormat* FormatByName(std::string_view name)
{
    for (const FileFormat& format : FileFormats()) {
        if (format.name == name) {
            return &format;
        }
    }
    return nullptr;
}

const FileFormat* FormatByPath(std::string_view path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return nullptr;
    }
    const std::string extension(path.substr(dot + 1));
    for (const FileFormat& format : FileFormats()) {
        if (!format.extension.empty() && strcasecmp(format.extension.c_str(), extension.c_str()) == 0) {
            return &format;
        }
    }
    return nullptr;
}

} // namespace cli
