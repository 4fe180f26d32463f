#include "boottool/Console.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace boottool {

void StdConsole::Out(std::string_view text)
{
    const std::lock_guard lock(m_mutex);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void StdConsole::Err(std::string_view text)
{
    const std::lock_guard lock(m_mutex);
    std::fflush(stdout); // keep the order the user sees when both go to one pipe
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::string Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return text;
}

} // namespace boottool
