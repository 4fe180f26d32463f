#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace core {

// Converts text from one character set to another, both named as iconv names them ("CP936",
// "ISO-8859-1", "UTF-8", "UTF-32LE"; CodePage.h maps code-page numbers to these names). Through iconv
// on POSIX systems; on Windows through the system's code pages (MultiByteToWideChar and
// WideCharToMultiByte) by way of UTF-16.
class CharsetConverter
{
public:
    CharsetConverter(const std::string& from, const std::string& to);
    ~CharsetConverter();
    CharsetConverter(const CharsetConverter&) = delete;
    CharsetConverter& operator=(const CharsetConverter&) = delete;

    // False when either set is unknown here; nothing else may be called then.
    [[nodiscard]] bool Valid() const;

    enum class Outcome {
        Done, // all of the input was converted
        Stopped, // the input at `consumed` is no character of the source set, or has no form in the target
        Incomplete, // the input ends inside a character
    };
    struct Step
    {
        Outcome outcome = Outcome::Done;
        std::size_t consumed = 0; // input bytes converted and appended
        bool inexact = false; // a converted character has only an approximate form in the target
    };

    // Appends the conversion of as much of the input as can be converted to output.
    [[nodiscard]] Step Convert(std::string_view input, std::string& output);
    // Appends what brings the output back to its initial shift state, and starts afresh.
    void Finish(std::string& output);
    // Starts afresh without output (after a stop).
    void Reset();

    class Engine; // iconv, or the Windows code pages

private:
    std::unique_ptr<Engine> m_engine;
};

// Whether both directions between the set and UTF-8 can be converted here.
[[nodiscard]] bool CharsetKnown(const std::string& charset);

// The character set of the user's locale (the code set of LC_CTYPE; on Windows the ANSI code page as
// "CP<n>"), or an empty text when there is none.
[[nodiscard]] std::string LocaleCharset();

} // namespace core
