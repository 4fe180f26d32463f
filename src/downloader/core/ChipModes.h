#pragma once

#include <span>
#include <string>
#include <string_view>

namespace downloader {

// The chip types offered in the Chip Type list, in list order; the index is what the profile stores.
struct ChipTypeEntry
{
    std::string_view name; // list text
    std::string_view machine; // entry of the tool's machine table; empty for "other" (boot file instead)
};

std::span<const ChipTypeEntry> ChipTypes();

// The chip type whose boot loader comes from a file in boot_file.
inline constexpr std::string_view kOtherChipType = "other";

// Mode list indexes; the text of each is also the command word handed to the tool.
enum class DownloadMode { SerialDown = 0, NetDown = 1, UsbDown = 2, SerialDump = 3, FlashErase = 4, FlashEraseAll = 5 };

std::span<const std::string_view> ModeNames();

// How the file of a mode is chosen.
enum class FileChoice { None, OpenDialog, SaveDialog, Typed };

// What a mode shows and needs; an index outside the list (no selection) gets the rules of "flash eraseall".
struct ModeRules
{
    bool needsFile;
    FileChoice fileChoice;
    bool yaffsShown;
    bool addressesShown; // PC IP and STB IP
    bool sectionShown;
    bool fileShown;
    bool browseShown;
    bool fileEditable;
    bool usesSegment; // the command line takes the segment's start address
};

ModeRules RulesForMode(int modeIndex);

// The validation text for a mode whose File field is empty; empty when the mode needs no file.
std::string_view MissingFileMessage(int modeIndex);

} // namespace downloader
