#include "downloader/core/WinCommandLine.h"

namespace downloader {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::size_t ReadProgramWord(std::string_view line, std::string& word)
{
    std::size_t i = 0;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else {
            word += line[i];
        }
        ++i;
    }
    return i;
}

// Reads one argument from position i; returns the position after it.
std::size_t ReadArgument(std::string_view line, std::size_t i, std::string& arg)
{
    bool quoted = false;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '\\') {
            std::size_t slashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    arg += '"';
                    ++i;
                }
            } else {
                arg.append(slashes, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                arg += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        if (IsBlank(c) && !quoted) {
            break;
        }
        arg += c;
        ++i;
    }
    return i;
}

} // namespace

std::string QuotedWindowsArgument(std::string_view argument)
{
    std::string quoted = "\"";
    std::size_t slashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them: then each is doubled and the quote escaped.
        quoted.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
        quoted += c;
        slashes = 0;
    }
    quoted.append(2 * slashes, '\\'); // before the closing quote
    return quoted + "\"";
}

std::string WindowsArgument(std::string_view argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) {
        return std::string(argument);
    }
    return QuotedWindowsArgument(argument);
}

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine)
{
    std::vector<std::string> words;
    std::string program;
    std::size_t i = ReadProgramWord(commandLine, program);
    words.push_back(program);
    while (true) {
        while (i < commandLine.size() && IsBlank(commandLine[i])) {
            ++i;
        }
        if (i >= commandLine.size()) {
            break;
        }
        std::string arg;
        i = ReadArgument(commandLine, i, arg);
        words.push_back(std::move(arg));
    }
    return words;
}

} // namespace downloader
