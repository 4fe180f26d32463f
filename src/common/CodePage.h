#pragma once

#include <string>
#include <string_view>

namespace core {

// The internal 8-bit code page: the one the receiver's names are kept in and the one every
// conversion to and from Unicode goes through. It is a setting of the calling thread (a worker
// installs the one of the thread that gave it its job), read at a thread's first use from
// CORVANE_CODEPAGE (a Windows code-page number or a charset name, e.g. 936, gbk, 1251), else the
// locale's code set when that is not UTF-8, else ISO-8859-1 (every byte survives a round trip).
struct CodePageInfo
{
    int number = 28591; // Windows code-page number (0 when the name has none)
    std::string charset = "ISO-8859-1"; // name as iconv knows it
};

// The internal code page, resolved on first use.
const CodePageInfo& InternalCodePage();

// Replaces the internal code page (tests, and programs with an option for it). Accepts the same
// forms as CORVANE_CODEPAGE; returns false and keeps the old setting when iconv knows no such set.
[[nodiscard]] bool SetInternalCodePage(std::string_view nameOrNumber);

// Sets the internal code page for one scope and puts the previous one back at its end, so that
// a test or a command that needs another code page leaves the process as it found it.
class ScopedCodePage
{
public:
    explicit ScopedCodePage(std::string_view nameOrNumber);
    // Installs a setting taken from InternalCodePage(), e.g. on another thread.
    explicit ScopedCodePage(const CodePageInfo& info);
    ~ScopedCodePage();
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;

    // False when the code page was unknown and the previous one stayed in place.
    [[nodiscard]] bool Installed() const { return m_installed; }

private:
    CodePageInfo m_previous;
    bool m_installed;
};

// Resolves a code-page number or charset name without installing it.
[[nodiscard]] bool ResolveCodePage(std::string_view nameOrNumber, CodePageInfo& out);

// iconv's name for a Windows code-page number, or an empty string when there is none.
std::string CharsetForCodePage(int number);

// Converts bytes of the internal code page to UTF-8. A byte with no Unicode form becomes U+FFFD.
std::string InternalToUtf8(std::string_view bytes);

// Converts UTF-8 to the internal code page. Characters with no exact form become '?' and set
// *lossy when it is given.
std::string Utf8ToInternal(std::string_view utf8, bool* lossy = nullptr);

// General conversion between two iconv charsets; returns false on a set iconv does not know.
// Unconvertible input is replaced as described above and reported through *lossy.
[[nodiscard]] bool ConvertCharset(
    std::string_view input, const std::string& from, const std::string& to, std::string& output, bool* lossy = nullptr);

} // namespace core
