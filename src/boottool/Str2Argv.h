#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace boottool {

// The words of one loader command, or a failure at an unmatched quote or a trailing backslash.
struct Str2ArgvResult
{
    bool ok = true;
    std::vector<std::string> words;
    int errorLine = 0; // source line that found the fault, for the warning text
};

// Splits a command into words: blanks, tabs and line feeds separate words; a single or double quote
// starts a quoted part that the same quote closes, and the closing quote ends the word; inside quotes
// a backslash is ordinary unless the closing quote follows it; outside quotes a backslash makes the
// next character ordinary. A double-quoted Windows path therefore keeps its backslashes and blanks.
[[nodiscard]] Str2ArgvResult str2argv(std::string_view command);

// "warning fun(str2argv) line(N):free inside function.\n" for a failed split.
std::string Str2ArgvWarning(const Str2ArgvResult& result);

// Splits a command text at every ";" that is not quoted or escaped (so a quoted path may hold one),
// trims blanks at both ends of each piece and drops pieces left empty.
std::vector<std::string> SplitCommands(std::string_view text);

} // namespace boottool
