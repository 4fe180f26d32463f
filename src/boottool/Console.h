#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace boottool {

// Where the tool prints. The front-end shows standard output live, so every message is flushed at once;
// the TFTP thread prints too, so writes are serialised.
class Console
{
public:
    virtual ~Console() = default;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
};

// Standard output and standard error of the process.
class StdConsole : public Console
{
public:
    void Out(std::string_view text) override;
    void Err(std::string_view text) override;

private:
    std::mutex m_mutex;
};

// printf-style formatting into a std::string (the tool's messages are printf formats). MinGW builds use
// its C99 printf (%zu, %llu), which GCC checks as gnu_printf.
#ifdef __MINGW32__
std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
#else
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
#endif

} // namespace boottool
