#include "boottool/Str2Argv.h"

#include "boottool/Console.h"

namespace boottool {

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

[[nodiscard]] Str2ArgvResult Fail(int line)
{
    Str2ArgvResult result;
    result.ok = false;
    result.errorLine = line;
    return result;
}

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

Str2ArgvResult str2argv(std::string_view command)
{
    Str2ArgvResult result;
    std::string word;
    bool inWord = false;
    std::size_t i = 0;
    while (i < command.size()) {
        const char c = command[i];
        if (IsSeparator(c)) {
            if (inWord) {
                result.words.push_back(std::move(word));
            }
            word.clear();
            inWord = false;
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= command.size()) {
                return Fail(__LINE__);
            }
            word += command[i + 1];
            inWord = true;
            i += 2;
        } else if (IsQuote(c)) {
            const char quote = c;
            ++i;
            bool closed = false;
            while (i < command.size()) {
                if (command[i] == '\\' && i + 1 < command.size() && command[i + 1] == quote) {
                    word += quote;
                    i += 2;
                } else if (command[i] == quote) {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word += command[i++];
                }
            }
            if (!closed) {
                return Fail(__LINE__);
            }
            // The closing quote ends the word, even an empty one.
            result.words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
            ++i;
        }
    }
    if (inWord) {
        result.words.push_back(std::move(word));
    }
    return result;
}

std::string Str2ArgvWarning(const Str2ArgvResult& result)
{
    return Format("warning fun(%s) line(%d):free inside function.\n", "str2argv", result.errorLine);
}

std::vector<std::string> SplitCommands(std::string_view text)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == '\\' && i + 1 < text.size() && text[i + 1] == quote) {
                ++i;
            } else if (c == quote) {
                quote = 0;
            }
        } else if (c == '\\') {
            ++i;
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == ';') {
            const std::string_view piece = Trim(text.substr(start, i - start));
            if (!piece.empty()) {
                pieces.emplace_back(piece);
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        const std::string_view piece = Trim(text.substr(start));
        if (!piece.empty()) {
            pieces.emplace_back(piece);
        }
    }
    return pieces;
}

} // namespace boottool
