#include "downloader/core/CommandLine.h"

#include "downloader/core/ChipModes.h"
#include "downloader/core/InetAddress.h"
#include "downloader/core/WinCommandLine.h"

#include <cstdio>

namespace downloader {

namespace {

std::string Hex32(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, " 0x%08x", value);
    return text;
}

// The file as one word of the tool's own command splitting: in double quotes (so blanks, tabs and ";"
// stay inside it), a quote inside as \". A name that ends with a backslash cannot stand before the
// closing quote there; it goes without quotes, every character the splitting treats specially escaped.
std::string ToolFileWord(std::string_view file)
{
    if (!file.empty() && file.back() == '\\') {
        std::string escaped;
        for (const char c : file) {
            if (std::string_view(" \t\n\"'\\;").find(c) != std::string_view::npos) {
                escaped += '\\';
            }
            escaped += c;
        }
        return escaped;
    }
    std::string quoted = "\"";
    for (const char c : file) {
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    }
    return quoted + "\"";
}

// The file word always quoted for the tool's C-runtime split too, so the tool gets it as one argument
// with its quotes, whatever blanks the name holds.
std::string FileArgument(std::string_view file)
{
    // Appended rather than " " + a temporary: GCC 12 at -O3 warns falsely (-Wrestrict) on that form.
    std::string argument = " ";
    argument += QuotedWindowsArgument(ToolFileWord(file));
    return argument;
}

std::string ToolPart(const DownloadRequest& request, std::string_view baseDir)
{
    for (const ChipTypeEntry& chip : ChipTypes()) {
        if (chip.name == request.chipType && !chip.machine.empty()) {
            return "boot.exe -m " + std::string(chip.machine);
        }
    }
    return "boot.exe -b "
        + QuotedWindowsArgument(std::string(baseDir) + std::string(kBootFolder) + "/" + request.bootFile);
}

// -p with the PC's address, and -s with the receiver's when one is given: without it the tool derives
// the receiver's address from the PC's.
std::string AddressArguments(const DownloadRequest& request)
{
    std::string arguments = " -p " + DottedQuad(request.pcIp).value_or(request.pcIp);
    if (!request.stbIp.empty()) {
        arguments += " -s " + DottedQuad(request.stbIp).value_or(request.stbIp);
    }
    return arguments;
}

std::string ModeArguments(const DownloadRequest& request)
{
    const std::uint32_t start = request.segment ? request.segment->start : 0;
    const std::uint32_t size = request.segment ? request.segment->size : 0;
    const std::string yaffs = request.yaffs ? " yaffs" : "";
    switch (static_cast<DownloadMode>(request.modeIndex)) {
    case DownloadMode::SerialDown:
    case DownloadMode::UsbDown:
        return Hex32(start) + FileArgument(request.file) + yaffs;
    case DownloadMode::NetDown:
        return AddressArguments(request) + Hex32(start) + FileArgument(request.file) + yaffs;
    case DownloadMode::SerialDump:
        return Hex32(start) + Hex32(size) + FileArgument(request.file);
    case DownloadMode::FlashErase:
        return Hex32(start) + Hex32(size);
    default:
        return {};
    }
}

// The program word by the C runtime's rule for it: up to the first blank, or quoted.
std::size_t ProgramWordEnd(std::string_view text, std::string& word)
{
    std::size_t i = 0;
    if (!text.empty() && text[0] == '"') {
        const std::size_t close = text.find('"', 1);
        word = text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        return close == std::string_view::npos ? text.size() : close + 1;
    }
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') {
        ++i;
    }
    word = text.substr(0, i);
    return i;
}

} // namespace

std::string ValidateRequest(const DownloadRequest& request)
{
    if (request.chipType == kOtherChipType && request.bootFile.empty()) {
        return "Please choose to the bin first!";
    }
    const ModeRules rules = RulesForMode(request.modeIndex);
    if (rules.needsFile && request.file.empty()) {
        return std::string(MissingFileMessage(request.modeIndex));
    }
    if (rules.usesSegment && !request.segment) {
        return std::string(kNoSegmentMessage);
    }
    if (request.port.empty()) {
        return std::string(kNoPortMessage);
    }
    if (rules.addressesShown && !DottedQuad(request.pcIp)) {
        return std::string(kBadPcIpMessage);
    }
    if (rules.addressesShown && !request.stbIp.empty() && !DottedQuad(request.stbIp)) {
        return std::string(kBadStbIpMessage);
    }
    return {};
}

std::string BuildCommandText(const DownloadRequest& request, std::string_view baseDir)
{
    return ToolPart(request, baseDir) + " -d " + WindowsArgument(request.port) + " -c " + request.modeText
        + ModeArguments(request);
}

std::string EchoText(std::string_view commandText)
{
    return "\r\n" + std::string(commandText) + "\r\n\r\n";
}

std::string FullCommandLine(std::string_view baseDir, std::string_view commandText)
{
    std::string program;
    const std::size_t end = ProgramWordEnd(commandText, program);
    std::string path = std::string(baseDir) + std::string(kBootFolder) + "/" + program;
    if (path.find_first_of(" \t") != std::string::npos) {
        path = "\"" + path + "\"";
    }
    return path + std::string(commandText.substr(end));
}

} // namespace downloader
