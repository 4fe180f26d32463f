#include "common/CodePage.h"

#include "common/CharsetConverter.h"

#include <array>
#include <cstdlib>
#include <strings.h>

namespace core {

namespace {

struct CodePageName
{
    int number;
    const char* charset;
};

// Windows code pages that the receivers' channel lists are written in, with iconv's names.
constexpr std::array kCodePages{
    CodePageName{437, "CP437"},         CodePageName{850, "CP850"},         CodePageName{852, "CP852"},
    CodePageName{855, "CP855"},         CodePageName{857, "CP857"},         CodePageName{860, "CP860"},
    CodePageName{861, "CP861"},         CodePageName{862, "CP862"},         CodePageName{863, "CP863"},
    CodePageName{865, "CP865"},         CodePageName{866, "CP866"},         CodePageName{869, "CP869"},
    CodePageName{874, "CP874"},         CodePageName{932, "CP932"},         CodePageName{936, "CP936"},
    CodePageName{949, "CP949"},         CodePageName{950, "CP950"},         CodePageName{1200, "UTF-16LE"},
    CodePageName{1201, "UTF-16BE"},     CodePageName{1250, "CP1250"},       CodePageName{1251, "CP1251"},
    CodePageName{1252, "CP1252"},       CodePageName{1253, "CP1253"},       CodePageName{1254, "CP1254"},
    CodePageName{1255, "CP1255"},       CodePageName{1256, "CP1256"},       CodePageName{1257, "CP1257"},
    CodePageName{1258, "CP1258"},       CodePageName{12000, "UTF-32LE"},    CodePageName{12001, "UTF-32BE"},
    CodePageName{20127, "US-ASCII"},    CodePageName{20866, "KOI8-R"},      CodePageName{20932, "EUC-JP"},
    CodePageName{21866, "KOI8-U"},      CodePageName{28591, "ISO-8859-1"},  CodePageName{28592, "ISO-8859-2"},
    CodePageName{28593, "ISO-8859-3"},  CodePageName{28594, "ISO-8859-4"},  CodePageName{28595, "ISO-8859-5"},
    CodePageName{28596, "ISO-8859-6"},  CodePageName{28597, "ISO-8859-7"},  CodePageName{28598, "ISO-8859-8"},
    CodePageName{28599, "ISO-8859-9"},  CodePageName{28603, "ISO-8859-13"}, CodePageName{28605, "ISO-8859-15"},
    CodePageName{50220, "ISO-2022-JP"}, CodePageName{51932, "EUC-JP"},      CodePageName{51936, "GB2312"},
    CodePageName{51949, "EUC-KR"},      CodePageName{54936, "GB18030"},     CodePageName{65001, "UTF-8"},
};

int NumberForCharset(const std::string& charset)
{
    for (const auto& entry : kCodePages) {
        if (strcasecmp(entry.charset, charset.c_str()) == 0) {
            return entry.number;
        }
    }
    return 0;
}

bool IsUtf8Name(const std::string& name)
{
    return strcasecmp(name.c_str(), "UTF-8") == 0 || strcasecmp(name.c_str(), "UTF8") == 0;
}

CodePageInfo DefaultCodePage()
{
    CodePageInfo info;
    if (const char* env = std::getenv("CORVANE_CODEPAGE"); env != nullptr && *env != '\0') {
        if (ResolveCodePage(env, info)) {
            return info;
        }
    }
    const std::string codeset = LocaleCharset();
    // "ANSI_X3.4-1968" is the C locale: plain ASCII would lose every byte above 0x7F.
    if (!codeset.empty() && !IsUtf8Name(codeset) && codeset != "ANSI_X3.4-1968" && ResolveCodePage(codeset, info)) {
        return info;
    }
    return CodePageInfo{};
}

// Each thread has its own setting: the editor's window thread holds the one the user chose, and
// a worker that converts names installs the one captured with its job, so a change in the window
// never reaches a conversion under way.
CodePageInfo& Setting()
{
    thread_local CodePageInfo setting = DefaultCodePage();
    return setting;
}

// The UTF-8 replacement character, for bytes without a Unicode form.
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

} // namespace

std::string CharsetForCodePage(int number)
{
    for (const auto& entry : kCodePages) {
        if (entry.number == number) {
            return entry.charset;
        }
    }
    return {};
}

bool ResolveCodePage(std::string_view nameOrNumber, CodePageInfo& out)
{
    const std::string text(nameOrNumber);
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (end != nullptr && *end == '\0') {
        std::string charset = CharsetForCodePage(static_cast<int>(number));
        if (charset.empty()) {
            charset = "CP" + text;
        }
        if (!CharsetKnown(charset)) {
            return false;
        }
        out = CodePageInfo{static_cast<int>(number), charset};
        return true;
    }
    if (!CharsetKnown(text)) {
        return false;
    }
    out = CodePageInfo{NumberForCharset(text), text};
    return true;
}

const CodePageInfo& InternalCodePage()
{
    return Setting();
}

bool SetInternalCodePage(std::string_view nameOrNumber)
{
    CodePageInfo info;
    if (!ResolveCodePage(nameOrNumber, info)) {
        return false;
    }
    Setting() = info;
    return true;
}

ScopedCodePage::ScopedCodePage(std::string_view nameOrNumber)
    : m_previous(InternalCodePage())
    , m_installed(SetInternalCodePage(nameOrNumber))
{ }

ScopedCodePage::ScopedCodePage(const CodePageInfo& info)
    : m_previous(InternalCodePage())
    , m_installed(true)
{
    Setting() = info;
}

ScopedCodePage::~ScopedCodePage()
{
    Setting() = m_previous;
}

bool ConvertCharset(
    std::string_view input, const std::string& from, const std::string& to, std::string& output, bool* lossy)
{
    CharsetConverter converter(from, to);
    if (!converter.Valid()) {
        return false;
    }
    output.clear();
    output.reserve(input.size() * 2 + 16);
    std::string_view rest = input;
    while (!rest.empty()) {
        const CharsetConverter::Step step = converter.Convert(rest, output);
        rest.remove_prefix(step.consumed);
        if (lossy != nullptr && step.inexact) {
            *lossy = true;
        }
        if (step.outcome == CharsetConverter::Outcome::Done) {
            break;
        }
        // A byte or character with no form in the target (or cut off at the end): replace it and go on.
        if (lossy != nullptr) {
            *lossy = true;
        }
        if (IsUtf8Name(to)) {
            output.append(kReplacementUtf8);
        } else {
            output.push_back('?');
        }
        std::size_t skip = 1;
        if (IsUtf8Name(from)) {
            // Step over a whole UTF-8 sequence so one character gives one replacement.
            while (skip < rest.size() && (static_cast<unsigned char>(rest[skip]) & 0xC0) == 0x80) {
                ++skip;
            }
        }
        rest.remove_prefix(skip);
        converter.Reset();
    }
    converter.Finish(output); // any shift state ends
    return true;
}

std::string InternalToUtf8(std::string_view bytes)
{
    std::string result;
    if (!ConvertCharset(bytes, InternalCodePage().charset, "UTF-8", result)) {
        return std::string(bytes);
    }
    return result;
}

std::string Utf8ToInternal(std::string_view utf8, bool* lossy)
{
    std::string result;
    if (!ConvertCharset(utf8, "UTF-8", InternalCodePage().charset, result, lossy)) {
        return std::string(utf8);
    }
    return result;
}

} // namespace core
