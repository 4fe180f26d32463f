#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace downloader {

// config.ini as the segment editor sees it. The file is written in text mode (every LF becomes CR LF,
// so the editor's CR LF line breaks are stored as CR CR LF) and read back in text mode (CR LF becomes
// LF), which shows a file written by the program with CR LF line breaks again.

// Text-mode write conversion: LF -> CR LF.
std::string ToTextModeBytes(std::string_view text);
// Text-mode read conversion: CR LF -> LF.
std::string FromTextModeBytes(std::string_view bytes);

// Reads config.ini for the editor; none when the file cannot be opened.
[[nodiscard]] std::optional<std::string> ReadConfigForEditor(const std::string& path);

// Replaces the whole file with the editor text in text mode, through a temporary file renamed over it,
// so a failed write leaves the previous table in place. False when the file could not be written.
[[nodiscard]] bool WriteConfigFile(const std::string& path, std::string_view editorText);

// Reads the file as it is on disk (for the segment table); none when it cannot be read.
[[nodiscard]] std::optional<std::string> ReadConfigBytes(const std::string& path);

// A config.ini larger than this is shown and read only up to here; a segment table is a few hundred bytes.
inline constexpr std::size_t kMaxConfigBytes = std::size_t{1024} * 1024;

} // namespace downloader
