#include "downloader/core/ChipModes.h"

#include <array>

namespace downloader {

namespace {

constexpr std::array kChipTypes{
    ChipTypeEntry{"kv2201", "kv4410-dvbs-2201"},
    ChipTypeEntry{"kv2202", "kv4410-dvbs-2202"},
    ChipTypeEntry{"kv2205", "kv4410-dvbs-2205"},
    ChipTypeEntry{"dvbc-4410", "kv4410-dvbc-4410"},
    ChipTypeEntry{kOtherChipType, ""},
};

constexpr std::array<std::string_view, 6> kModeNames{
    "serialdown", "netdown", "usbdown", "serialdump", "flash erase", "flash eraseall"};

// needsFile, fileChoice, yaffs, addresses, section, file, browse, editable, usesSegment
constexpr std::array<ModeRules, 6> kModeRules{{
    {true, FileChoice::OpenDialog, true, false, true, true, true, false, true},
    {true, FileChoice::OpenDialog, true, true, true, true, true, false, true},
    {true, FileChoice::Typed, true, false, true, true, false, true, true},
    {true, FileChoice::SaveDialog, false, false, true, true, true, false, true},
    {false, FileChoice::None, false, false, true, false, false, false, true},
    {false, FileChoice::None, false, false, false, false, false, false, false},
}};

} // namespace

std::span<const ChipTypeEntry> ChipTypes()
{
    return kChipTypes;
}

std::span<const std::string_view> ModeNames()
{
    return kModeNames;
}

ModeRules RulesForMode(int modeIndex)
{
    if (modeIndex < 0 || modeIndex >= static_cast<int>(kModeRules.size())) {
        return kModeRules.back();
    }
    return kModeRules[static_cast<std::size_t>(modeIndex)];
}

std::string_view MissingFileMessage(int modeIndex)
{
    switch (static_cast<DownloadMode>(modeIndex)) {
    case DownloadMode::SerialDown:
    case DownloadMode::NetDown:
        return "Please choose to download files!";
    case DownloadMode::UsbDown:
        return "Please input download files!";
    case DownloadMode::SerialDump:
        return "Please choose to dump files!";
    default:
        return {};
    }
}

} // namespace downloader
