#pragma once

#include "downloader/core/SegmentInfo.h"

#include <optional>
#include <string>
#include <string_view>

namespace downloader {

// The dialog's choices that make up one download command.
struct DownloadRequest
{
    std::string chipType; // text of the Chip Type list
    std::string bootFile; // text of the Boot File list (chip type "other")
    std::string port;
    int modeIndex = -1;
    std::string modeText;
    std::optional<SegmentInfo> segment; // none when the Section list has no valid selection
    std::string file;
    bool yaffs = false;
    std::string pcIp;
    std::string stbIp;
};

// The first failing check as the text of the "Error" box; empty when the request may run.
[[nodiscard]] std::string ValidateRequest(const DownloadRequest& request);

// Refusal for a mode that needs a segment address when the table has none to give.
inline constexpr std::string_view kNoSegmentMessage = "Please choose a section first!";
// Refusals of a run without a serial port, and of network addresses that are not four dotted numbers
// 0-255 (an empty STB IP is left to the tool, which derives it from the PC IP).
inline constexpr std::string_view kNoPortMessage = "Please choose a serial port!";
inline constexpr std::string_view kBadPcIpMessage = "Please input a valid PC IP!";
inline constexpr std::string_view kBadStbIpMessage = "Please input a valid STB IP!";

// The command text: tool part, -d, -c and the mode's arguments. baseDir ends with a separator. Every word
// that comes from the user is quoted as needed, so it reaches the tool as one argument.
std::string BuildCommandText(const DownloadRequest& request, std::string_view baseDir);

// The text written to the output area before a run.
std::string EchoText(std::string_view commandText);

// The full command line: the first word of the command text is a program in baseDir + "boot_file/".
// That program path is quoted when it holds a blank, so a base folder with blanks stays one word.
std::string FullCommandLine(std::string_view baseDir, std::string_view commandText);

// The folder under the base directory that holds the tool, config.ini and the boot files.
inline constexpr std::string_view kBootFolder = "boot_file";

} // namespace downloader
