// Command texts as the command line delivers them: split at ";", into words, translated, and the
// board's bytes matched against an awaited text.
#include "boottool/CmdParser.h"
#include "boottool/NumberWord.h"
#include "boottool/Str2Argv.h"
#include "boottool/TextMatcher.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace boottool {

namespace {

void ReadCommandText(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const NetAddresses net{"192.168.1.10", ""};
    for (const std::string& piece : SplitCommands(text)) {
        const Str2ArgvResult split = str2argv(piece);
        if (!split.ok) {
            if (Str2ArgvWarning(split).empty()) {
                __builtin_trap();
            }
            continue;
        }
        // Only names without a slash reach stat(), so the run stays inside the working folder.
        bool local = true;
        for (const std::string& word : split.words) {
            local = local && word.find('/') == std::string::npos;
            (void)ParseNumberWord(word); // read for the sanitizers only
        }
        if (local && !split.words.empty()) {
            (void)cmd_parser(split.words, piece, net); // any translation or failure is fine
        }
        TftpFilesOf(split.words);
    }
    TextMatcher matcher("boot> ");
    std::string unmatched;
    std::size_t fed = 0;
    for (const char c : text) {
        ++fed;
        if (matcher.Feed(static_cast<std::uint8_t>(c), unmatched)) {
            // Everything before the match is either shown or was part of it.
            if (unmatched.size() + 6 != fed) {
                __builtin_trap();
            }
            unmatched.clear();
            fed = 0;
        }
    }
}

} // namespace

} // namespace boottool

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    boottool::ReadCommandText(data, size);
    return 0;
}
