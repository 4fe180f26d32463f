#include "formats/FileFormats.h"

#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"
#include "excel/CAccessExcelIn.h"
#include "excel/CAccessExcelOut.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace core {

namespace {

template <class T, class Base>
std::unique_ptr<Base> Make()
{
    return std::make_unique<T>();
}

constexpr auto kReadDb = Make<CAccessDbIn, CAccessIn>;
constexpr auto kWriteDb = Make<CAccessDbOut, CAccessOut>;
constexpr auto kReadExcel = Make<CAccessExcelIn, CAccessIn>;
constexpr auto kWriteExcel = Make<CAccessExcelOut, CAccessOut>;
constexpr auto kReadUserDb = Make<CAccessUserDbIn, CAccessIn>;
constexpr auto kReadUserDb25 = Make<CAccessUserDb25In, CAccessIn>;

// Flash images have no extension of their own: they are read only when --from names them, and
// the user database inside one cannot be written.
constexpr std::array kFormats{
    FileFormat{FormatId::Db, "db", "db", kProgramDbFilter, kReadDb, kWriteDb},
    FileFormat{FormatId::Excel, "xls", "xls", kExcelFilter, kReadExcel, kWriteExcel},
    FileFormat{FormatId::UserDb, "userdb", "", kBinaryFilter, kReadUserDb, nullptr},
    FileFormat{FormatId::UserDb25, "userdb25", "", kBinaryFilter, kReadUserDb25, nullptr},
};

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::span<const FileFormat> FileFormats()
{
    return kFormats;
}

const FileFormat& Format(FormatId id)
{
    return *std::find_if(kFormats.begin(), kFormats.end(), [id](const FileFormat& f) { return f.id == id; });
}

const FileFormat* FormatByName(std::string_view name)
{
    const auto* found
        = std::find_if(kFormats.begin(), kFormats.end(), [name](const FileFormat& f) { return f.name == name; });
    return found == kFormats.end() ? nullptr : found;
}

const FileFormat* FormatByPath(std::string_view path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return nullptr;
    }
    const std::string_view extension = path.substr(dot + 1);
    const auto* found = std::find_if(kFormats.begin(), kFormats.end(), [extension](const FileFormat& f) {
        return !f.extension.empty() && SameIgnoringCase(f.extension, extension);
    });
    return found == kFormats.end() ? nullptr : found;
}

} // namespace core
