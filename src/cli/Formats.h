#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CAccessIn;
class CAccessOut;

// One file format the CLI can read or write, as the editor's commands do.
struct FileFormat
{
    std::string name; // the --from word
    std::string extension; // without the dot; empty for formats chosen only by --from
    std::function<std::unique_ptr<CAccessIn>()> makeReader; // empty when the format cannot be read
    std::function<std::unique_ptr<CAccessOut>()> makeWriter; // empty when the format cannot be written
};

// Every format, in the order the usage text lists them.
const std::vector<FileFormat>& FileFormats();

// The format named by --from, or nullptr.
const FileFormat* FormatByName(std::string_view name);

// The format of a path by its extension (case-insensitive), or nullptr.
const FileFormat* FormatByPath(std::string_view path);
