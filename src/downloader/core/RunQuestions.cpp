#include "downloader/core/RunQuestions.h"

#include "downloader/core/ChipModes.h"

#include <algorithm>
#include <cstdio>

namespace downloader {

namespace {

// The last address of a range, inclusive (a range of no bytes shows its start twice).
std::uint64_t LastAddress(std::uint64_t start, std::uint64_t size)
{
    return size == 0 ? start : start + size - 1;
}

std::string RangeQuestion(std::string_view name, std::uint64_t first, std::uint64_t last)
{
    char range[64];
    std::snprintf(range,
                  sizeof range,
                  " (0x%08llx\u20130x%08llx)?",
                  static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(last));
    return "Erase " + std::string(name) + range;
}

} // namespace

std::string SegmentFitQuestion(const DownloadRequest& request, std::optional<std::uint64_t> fileSize)
{
    const auto mode = static_cast<DownloadMode>(request.modeIndex);
    if ((mode != DownloadMode::SerialDown && mode != DownloadMode::NetDown) || !request.segment || !fileSize
        || *fileSize <= request.segment->size) {
        return {};
    }
    return "The file is " + std::to_string(*fileSize) + " bytes, larger than the segment " + request.segment->name
        + " (" + std::to_string(request.segment->size) + " bytes)!";
}

std::string EraseQuestion(const DownloadRequest& request, const SegmentTable& segments)
{
    const auto mode = static_cast<DownloadMode>(request.modeIndex);
    if (mode == DownloadMode::FlashErase && request.segment) {
        return RangeQuestion(
            request.segment->name, request.segment->start, LastAddress(request.segment->start, request.segment->size));
    }
    if (mode != DownloadMode::FlashEraseAll) {
        return {};
    }
    if (segments.empty()) {
        return "Erase the whole flash?";
    }
    std::uint64_t first = UINT64_MAX;
    std::uint64_t last = 0;
    for (const SegmentInfo& segment : segments) {
        first = std::min<std::uint64_t>(first, segment.start);
        last = std::max(last, LastAddress(segment.start, segment.size));
    }
    return RangeQuestion("the whole flash", first, last);
}

} // namespace downloader
