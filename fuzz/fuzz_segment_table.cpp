// config.ini as the user or another program may have left it.
#include "downloader/core/ConfigFile.h"
#include "downloader/core/SegmentTableFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using downloader::FromTextModeBytes;
using downloader::ParseSegmentTable;
using downloader::ParseSegmentValue;
using downloader::SegmentInfo;
using downloader::SegmentTable;
using downloader::ToTextModeBytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SegmentTable table = ParseSegmentTable(bytes);
    const SegmentTable again = ParseSegmentTable(FromTextModeBytes(ToTextModeBytes(bytes)));
    (void)again;
    for (const SegmentInfo& segment : table) {
        if (segment.name.size() > 255) {
            __builtin_trap();
        }
    }
    (void)ParseSegmentValue(bytes);
    return 0;
}
