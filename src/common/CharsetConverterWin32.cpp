#include "common/CharsetConverter.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <windows.h>

namespace core {

namespace {

// Code-page numbers of the Unicode forms the system's conversion calls do not take.
constexpr unsigned kUtf16Le = 1200;
constexpr unsigned kUtf16Be = 1201;
constexpr unsigned kUtf32Le = 12000;
constexpr unsigned kUtf32Be = 12001;

struct NamedPage
{
    const char* name;
    unsigned number;
};

// iconv's names of the sets the programs meet, with the Windows code page of each.
constexpr std::array kNamedPages{
    NamedPage{"UTF-8", CP_UTF8},
    NamedPage{"UTF8", CP_UTF8},
    NamedPage{"UTF-16LE", kUtf16Le},
    NamedPage{"UTF-16BE", kUtf16Be},
    NamedPage{"UTF-16", kUtf16Le},
    NamedPage{"UTF-32LE", kUtf32Le},
    NamedPage{"UTF-32BE", kUtf32Be},
    NamedPage{"UTF-32", kUtf32Le},
    NamedPage{"US-ASCII", 20127},
    NamedPage{"ASCII", 20127},
    NamedPage{"ANSI_X3.4-1968", 20127},
    NamedPage{"KOI8-R", 20866},
    NamedPage{"KOI8-U", 21866},
    NamedPage{"EUC-JP", 20932},
    NamedPage{"SHIFT_JIS", 932},
    NamedPage{"SJIS", 932},
    NamedPage{"GBK", 936},
    NamedPage{"GB2312", 936},
    NamedPage{"EUC-CN", 936},
    NamedPage{"GB18030", 54936},
    NamedPage{"BIG5", 950},
    NamedPage{"BIG-5", 950},
    NamedPage{"EUC-KR", 51949},
    NamedPage{"UHC", 949},
    NamedPage{"ISO-2022-JP", 50220},
    NamedPage{"ISO-8859-13", 28603},
    NamedPage{"ISO-8859-15", 28605},
    NamedPage{"LATIN1", 28591},
    NamedPage{"ISO8859-1", 28591},
};

[[nodiscard]] std::string Upper(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

[[nodiscard]] std::optional<unsigned> NumberAfter(const std::string& name, std::string_view prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    unsigned number = 0;
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(name.data() + prefix.size(), last, number);
    return error == std::errc() && end == last ? std::optional<unsigned>(number) : std::nullopt;
}

// The Windows code page of an iconv name, when the system has it.
[[nodiscard]] std::optional<unsigned> CodePageOf(const std::string& charset)
{
    const std::string name = Upper(charset);
    std::optional<unsigned> number;
    for (const NamedPage& page : kNamedPages) {
        if (name == page.name) {
            number = page.number;
        }
    }
    for (const std::string_view prefix : {"CP", "WINDOWS-", "IBM", "MS"}) {
        if (!number) {
            number = NumberAfter(name, prefix);
        }
    }
    if (!number) {
        // ISO-8859-1 to -9 are 28591 to 28599 (13 and 15 are in the table).
        if (const auto part = NumberAfter(name, "ISO-8859-"); part && *part >= 1 && *part <= 9) {
            number = 28590 + *part;
        }
    }
    if (!number) {
        return std::nullopt;
    }
    const bool unicode = *number == kUtf16Le || *number == kUtf16Be || *number == kUtf32Le || *number == kUtf32Be;
    return unicode || IsValidCodePage(*number) ? number : std::nullopt;
}

// Pages whose conversion refuses the flags that report invalid input.
[[nodiscard]] bool TakesNoFlags(unsigned page)
{
    return (page >= 50220 && page <= 50229) || page == 52936 || (page >= 57002 && page <= 57011) || page == 65000
        || page == 42;
}

[[nodiscard]] bool IsUnicodeForm(unsigned page)
{
    return page == kUtf16Le || page == kUtf16Be || page == kUtf32Le || page == kUtf32Be;
}

[[nodiscard]] std::size_t UnitSize(unsigned page)
{
    return page == kUtf32Le || page == kUtf32Be ? 4 : 2;
}

// Bytes of the character that starts at `bytes` in the page (the most a valid one could have).
[[nodiscard]] std::size_t CharacterSize(unsigned page, std::string_view bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (IsUnicodeForm(page)) {
        const std::size_t unit = UnitSize(page);
        if (unit == 2 && bytes.size() >= 2) {
            const unsigned high = page == kUtf16Le ? static_cast<unsigned char>(bytes[1]) : lead;
            return high >= 0xD8 && high <= 0xDB ? 4 : 2; // a surrogate pair
        }
        return unit;
    }
    if (page == CP_UTF8) {
        return lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    }
    if (page == 54936 && lead >= 0x81 && bytes.size() >= 2) {
        const auto second = static_cast<unsigned char>(bytes[1]);
        return second >= 0x30 && second <= 0x39 ? 4 : 2; // GB18030's four-byte form
    }
    return IsDBCSLeadByteEx(page, lead) ? 2 : 1;
}

// UTF-16 of bytes in a Unicode form; false when they are no valid text.
[[nodiscard]] bool DecodeUnicode(unsigned page, std::string_view bytes, std::wstring& wide)
{
    const std::size_t unit = UnitSize(page);
    const bool big = page == kUtf16Be || page == kUtf32Be;
    for (std::size_t at = 0; at + unit <= bytes.size(); at += unit) {
        std::uint32_t value = 0;
        for (std::size_t index = 0; index < unit; ++index) {
            const auto byte = static_cast<unsigned char>(bytes[at + (big ? index : unit - 1 - index)]);
            value = (value << 8) | byte;
        }
        if (unit == 4) {
            if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
                return false;
            }
            if (value >= 0x10000) {
                value -= 0x10000;
                wide.push_back(static_cast<wchar_t>(0xD800 + (value >> 10)));
                wide.push_back(static_cast<wchar_t>(0xDC00 + (value & 0x3FF)));
                continue;
            }
        }
        wide.push_back(static_cast<wchar_t>(value));
    }
    return bytes.size() % unit == 0;
}

void EncodeUnicode(unsigned page, std::wstring_view wide, std::string& out)
{
    const std::size_t unit = UnitSize(page);
    const bool big = page == kUtf16Be || page == kUtf32Be;
    for (std::size_t at = 0; at < wide.size(); ++at) {
        std::uint32_t value = static_cast<std::uint16_t>(wide[at]);
        if (unit == 4 && value >= 0xD800 && value <= 0xDBFF && at + 1 < wide.size()) {
            value = 0x10000 + ((value - 0xD800) << 10) + (static_cast<std::uint16_t>(wide[++at]) - 0xDC00);
        }
        for (std::size_t index = 0; index < unit; ++index) {
            const unsigned shift = static_cast<unsigned>(8 * (big ? unit - 1 - index : index));
            out.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
    }
}

// Whether the start of a character can still be completed by more input (a cut-off UTF-8 sequence
// whose bytes so far fit, a lead byte at the end), rather than being wrong already.
[[nodiscard]] bool MayContinue(unsigned page, std::string_view start)
{
    if (page != CP_UTF8) {
        return true;
    }
    for (const char byte : start.substr(1)) {
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

// The Windows ANSI pages map the bytes they leave undefined to the C1 controls; iconv, like the
// receivers' lists, has no character there.
[[nodiscard]] bool UndefinedByte(unsigned page, std::string_view bytes, std::wstring_view wide)
{
    const bool ansi = page == 874 || (page >= 1250 && page <= 1258);
    return ansi && bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) >= 0x80 && wide.size() == 1
        && wide[0] >= 0x80 && wide[0] <= 0x9F;
}

} // namespace

class CharsetConverter::Engine
{
public:
    Engine(const std::string& from, const std::string& to)
        : m_from(CodePageOf(from))
        , m_to(CodePageOf(to))
    { }

    [[nodiscard]] bool Valid() const { return m_from && m_to; }

    [[nodiscard]] Step Convert(std::string_view input, std::string& output)
    {
        Step step;
        std::wstring wide;
        std::string bytes;
        // The whole text at once; only when that fails, character by character up to the one that does.
        if (Decode(input, wide) && !HasUndefinedBytes(input) && Encode(wide, bytes)) {
            output += bytes;
            step.consumed = input.size();
            return step;
        }
        std::size_t at = 0;
        while (at < input.size()) {
            const std::size_t size = CharacterSize(*m_from, input.substr(at));
            if (at + size > input.size()) {
                step.outcome = MayContinue(*m_from, input.substr(at)) ? Outcome::Incomplete : Outcome::Stopped;
                break;
            }
            wide.clear();
            bytes.clear();
            const std::string_view character = input.substr(at, size);
            if (!Decode(character, wide) || UndefinedByte(*m_from, character, wide) || !Encode(wide, bytes)) {
                step.outcome = Outcome::Stopped;
                break;
            }
            output += bytes;
            at += size;
        }
        step.consumed = at;
        return step;
    }

private:
    // Whether the text has a byte the page leaves undefined (only the ANSI pages have such).
    [[nodiscard]] bool HasUndefinedBytes(std::string_view input) const
    {
        const bool ansi = *m_from == 874 || (*m_from >= 1250 && *m_from <= 1258);
        if (!ansi) {
            return false;
        }
        for (const char byte : input) {
            std::wstring one;
            if (static_cast<unsigned char>(byte) >= 0x80 && Decode(std::string_view(&byte, 1), one)
                && UndefinedByte(*m_from, std::string_view(&byte, 1), one)) {
                return true;
            }
        }
        return false;
    }

    [[nodiscard]] bool Decode(std::string_view bytes, std::wstring& wide) const
    {
        if (bytes.empty()) {
            return true;
        }
        if (IsUnicodeForm(*m_from)) {
            return DecodeUnicode(*m_from, bytes, wide);
        }
        const DWORD flags = TakesNoFlags(*m_from) ? 0 : MB_ERR_INVALID_CHARS;
        const int size = static_cast<int>(bytes.size());
        const int needed = MultiByteToWideChar(*m_from, flags, bytes.data(), size, nullptr, 0);
        if (needed <= 0) {
            return false;
        }
        const std::size_t start = wide.size();
        wide.resize(start + static_cast<std::size_t>(needed));
        return MultiByteToWideChar(*m_from, flags, bytes.data(), size, wide.data() + start, needed) == needed;
    }

    [[nodiscard]] bool Encode(std::wstring_view wide, std::string& bytes) const
    {
        if (wide.empty()) {
            return true;
        }
        if (IsUnicodeForm(*m_to)) {
            EncodeUnicode(*m_to, wide, bytes);
            return true;
        }
        const int size = static_cast<int>(wide.size());
        // UTF-8 and GB18030 hold every character; the others say when they have no exact form.
        const bool complete = *m_to == CP_UTF8 || *m_to == 54936;
        const DWORD flags = complete ? (*m_to == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0)
                                     : (TakesNoFlags(*m_to) ? 0 : WC_NO_BEST_FIT_CHARS);
        BOOL usedDefault = FALSE;
        BOOL* lost = complete || TakesNoFlags(*m_to) ? nullptr : &usedDefault;
        const int needed = WideCharToMultiByte(*m_to, flags, wide.data(), size, nullptr, 0, nullptr, lost);
        if (needed <= 0 || usedDefault) {
            return false;
        }
        const std::size_t start = bytes.size();
        bytes.resize(start + static_cast<std::size_t>(needed));
        return WideCharToMultiByte(*m_to, flags, wide.data(), size, bytes.data() + start, needed, nullptr, lost)
            == needed
            && !usedDefault;
    }

    std::optional<unsigned> m_from;
    std::optional<unsigned> m_to;
};

CharsetConverter::CharsetConverter(const std::string& from, const std::string& to)
    : m_engine(std::make_unique<Engine>(from, to))
{ }

CharsetConverter::~CharsetConverter() = default;

bool CharsetConverter::Valid() const
{
    return m_engine->Valid();
}

CharsetConverter::Step CharsetConverter::Convert(std::string_view input, std::string& output)
{
    return m_engine->Convert(input, output);
}

void CharsetConverter::Finish(std::string& /*output*/)
{
    // The pages taken here keep no shift state between calls.
}

void CharsetConverter::Reset() { }

bool CharsetKnown(const std::string& charset)
{
    return CharsetConverter("UTF-8", charset).Valid();
}

std::string LocaleCharset()
{
    return "CP" + std::to_string(GetACP());
}

} // namespace core
