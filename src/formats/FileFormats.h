#pragma once

#include <memory>
#include <span>
#include <string_view>

namespace core {

class CAccessIn;
class CAccessOut;

// The file-dialog filters, as description and pattern pairs separated by bars and ended by two bars.
inline constexpr std::string_view kProgramDbFilter = "Program Db File(*.db)|*.db|All Files (*.*)|*.*||";
inline constexpr std::string_view kBinaryFilter = "Binary File(*.bin)|*.bin|All Files (*.*)|*.*||";
inline constexpr std::string_view kExcelFilter = "Excel File(*.xls)|*.xls|All Files (*.*)|*.*||";

// The file formats the editor and the CLI read and write.
enum class FormatId { Db, Excel, UserDb, UserDb25 };

// One file format: how it is named and chosen, and the importer and exporter that handle it.
struct FileFormat
{
    FormatId id;
    std::string_view name; // the CLI's --from word
    std::string_view extension; // without the dot; empty for flash images, which only --from names
    std::string_view dialogFilter; // offered by the file dialogs of its commands
    std::unique_ptr<CAccessIn> (*makeReader)(); // nullptr when the format cannot be read
    std::unique_ptr<CAccessOut> (*makeWriter)(); // nullptr when the format cannot be written
};

// Every format, in the order the CLI's usage text lists them.
std::span<const FileFormat> FileFormats();

// The table entry of a format.
const FileFormat& Format(FormatId id);

// The format named by --from, or nullptr.
const FileFormat* FormatByName(std::string_view name);

// The format of a path by its extension (case-insensitive), or nullptr.
const FileFormat* FormatByPath(std::string_view path);

} // namespace core
