#pragma once

#include "downloader/core/CommandLine.h"
#include "downloader/core/SegmentInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace downloader {

// The questions asked before a run that cannot be taken back, each answered Yes or No (No is the
// default); an empty text means there is nothing to ask.

// serialdown and netdown of a file larger than the chosen segment: it would run into the next one.
// fileSize is none when the file cannot be looked at (the tool then says what is wrong with it).
[[nodiscard]] std::string SegmentFitQuestion(const DownloadRequest& request, std::optional<std::uint64_t> fileSize);
inline constexpr std::string_view kSegmentFitCaption = "Download anyway?";

// flash erase (the segment's range) and flash eraseall (the range of the whole segment table).
[[nodiscard]] std::string EraseQuestion(const DownloadRequest& request, const SegmentTable& segments);
inline constexpr std::string_view kEraseCaption = "Erase Flash";

} // namespace downloader
