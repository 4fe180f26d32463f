// Whatever a tool prints, split into two blocks, through the output rules; also command lines and addresses.
#include "downloader/core/InetAddress.h"
#include "downloader/core/OutputText.h"
#include "downloader/core/ProgressTracker.h"
#include "downloader/core/WinCommandLine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using downloader::CutAtPressAnyKey;
using downloader::IOutputSink;
using downloader::ParseInetAddr;
using downloader::PcAddressesFromAdapters;
using downloader::ProgressTracker;
using downloader::SplitPortList;
using downloader::SplitWindowsCommandLine;
using downloader::WriteOutputText;

namespace {

class StringSink final : public IOutputSink
{
public:
    bool IsEmpty() const override { return text.empty(); }
    bool EndsWithLineBreak() const override { return text.back() == '\n'; }
    void Append(std::string_view piece) override { text += piece; }
    void DeleteLast() override
    {
        if (text.empty() || text.back() == '\n') {
            __builtin_trap(); // the writer must never ask for this
        }
        text.pop_back();
    }
    std::string text;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t half = size / 2;
    StringSink sink;
    ProgressTracker progress;
    for (const std::string_view block : {bytes.substr(0, half), bytes.substr(half)}) {
        WriteOutputText(sink, CutAtPressAnyKey(block));
        const int percent = progress.Feed(block);
        if (percent > 100) {
            __builtin_trap();
        }
    }
    if (SplitWindowsCommandLine(bytes).empty()) {
        __builtin_trap();
    }
    (void)ParseInetAddr(bytes);
    (void)PcAddressesFromAdapters({std::string(bytes)});
    (void)SplitPortList(bytes);
    return 0;
}
