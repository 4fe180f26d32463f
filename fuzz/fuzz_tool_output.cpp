// Whatever a tool prints, split into two blocks, through the output rules; also command lines, the quoting
// of the words the window hands the tool, and addresses.
#include "downloader/core/InetAddress.h"
#include "downloader/core/OutputText.h"
#include "downloader/core/ProgressTracker.h"
#include "downloader/core/WinCommandLine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using downloader::CutAtPressAnyKey;
using downloader::DottedQuad;
using downloader::IOutputSink;
using downloader::ParseInetAddr;
using downloader::PcAddressesFromAdapters;
using downloader::ProgressTracker;
using downloader::QuotedWindowsArgument;
using downloader::SplitPortList;
using downloader::SplitWindowsCommandLine;
using downloader::WindowsArgument;
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
    // Any word comes back whole from the split, quoted or left bare.
    const std::string word(bytes);
    const std::vector<std::string> words
        = SplitWindowsCommandLine("p " + QuotedWindowsArgument(word) + " " + WindowsArgument(word));
    if (words.size() != 3 || words[1] != word || words[2] != word) {
        __builtin_trap();
    }
    // An address written back reads as itself.
    if (const auto dotted = DottedQuad(bytes); dotted && DottedQuad(*dotted) != dotted) {
        __builtin_trap();
    }
    (void)ParseInetAddr(bytes);
    (void)PcAddressesFromAdapters({std::string(bytes)});
    (void)SplitPortList(bytes);
    return 0;
}
