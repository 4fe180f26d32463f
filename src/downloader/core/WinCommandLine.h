#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace downloader {

// Splits a command line into program and arguments as the Windows C runtime does, so the tool
// receives the words it would receive there:
// - the program word ends at the first blank or tab, or is enclosed in double quotes (no escapes);
// - arguments are separated by blanks and tabs; double quotes group blanks into one argument;
// - 2n backslashes before a quote give n backslashes and the quote groups; 2n+1 give n and a literal quote;
// - backslashes not followed by a quote are literal; "" inside a quoted part is a literal quote.
std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);

// One argument written so that SplitWindowsCommandLine gives it back whole: in double quotes, a quote
// inside as \", and backslashes doubled where a quote follows them.
std::string QuotedWindowsArgument(std::string_view argument);

// The same, but left bare when it needs no quotes (not empty, no blank, tab or quote).
std::string WindowsArgument(std::string_view argument);

} // namespace downloader
