#include "downloader/core/ConfigFile.h"

#include <cstdio>
#include <fstream>

namespace downloader {

std::string ToTextModeBytes(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    return bytes;
}

std::string FromTextModeBytes(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;
        }
        text += bytes[i];
    }
    return text;
}

std::optional<std::string> ReadConfigBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(kMaxConfigBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<std::string> ReadConfigForEditor(const std::string& path)
{
    const std::optional<std::string> bytes = ReadConfigBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return FromTextModeBytes(*bytes);
}

bool WriteConfigFile(const std::string& path, std::string_view editorText)
{
    const std::string bytes = ToTextModeBytes(editorText);
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace downloader
