#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace core {
class CAccessIn;
class CAccessOut;
} // namespace core

namespace cli {

// One file format the CLI can read or write, as the editor's commands do.
struct FileFormat
{
    std::string name; // the --from word
    std::string extension; // without the dot; empty for formats chosen only by --from
    std::function<std::unique_ptr<core::CAccessIn>()> makeReader; // empty when the format cannot be read
    std::function<std::unique_ptr<core::CAccessOut>()> makeWriter; // empty when the format cannot be written
};

// Every format, in the order the usage text lists them.
const std::vector<FileFormat>& FileFormats();

// The format named by --from, or nullptr.
const FileFormat* FormatByName(std::string_view name);

// The format of a path by its extension (case-insensitive), or nullptr.
const FileFormat* FormatByPath(std::string_view path);

} // namespace cli
