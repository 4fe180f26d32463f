#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace core {

class XmlResultLog;

// The byte-order mark a document was loaded with; written back the same on saving.
enum class XmlBom { None, Utf8, Utf16Le, Utf16Be };

// Facts about the internal code page that the tokenizer and the decoder need.
class XmlInternalCodec
{
public:
    XmlInternalCodec(); // the process-wide internal code page
    explicit XmlInternalCodec(int codePage, std::string iconvName);
    ~XmlInternalCodec();
    XmlInternalCodec(const XmlInternalCodec&) = delete;
    XmlInternalCodec& operator=(const XmlInternalCodec&) = delete;

    int CodePage() const { return m_codePage; }
    const std::string& IconvName() const { return m_iconvName; }
    // Whether a code page number stands for the internal one.
    bool IsInternal(int codePage) const;
    // Bytes of the character starting at p (1 for single-byte code pages); never more than left.
    std::size_t CharLength(const char* p, std::size_t left) const
    {
        const unsigned char lead = static_cast<unsigned char>(*p);
        if (m_leadLength[lead] <= 1) {
            return 1;
        }
        std::size_t n = m_leadLength[lead];
        // GB18030 four-byte sequences: lead, digit, lead, digit.
        if (m_fourByte && left >= 2 && (p[1] < '0' || p[1] > '9')) {
            n = 2;
        }
        return n < left ? n : left;
    }
    bool IsMultiByte() const { return m_multiByte; }
    // Finds seq in text at a character boundary (so a trail byte never starts a match).
    std::size_t Find(std::string_view text, std::string_view seq, std::size_t from) const
    {
        if (!m_multiByte) {
            return text.find(seq, from);
        }
        for (std::size_t pos = from; pos < text.size(); pos += CharLength(text.data() + pos, text.size() - pos)) {
            if (text.compare(pos, seq.size(), seq) == 0) {
                return pos;
            }
        }
        return std::string_view::npos;
    }
    // Appends the code point in the internal code page; false when it has no exact form there.
    [[nodiscard]] bool AppendCodePoint(std::uint32_t codePoint, std::string& out) const;

private:
    void ProbeLeadBytes();

    int m_codePage;
    std::string m_iconvName;
    std::array<std::uint8_t, 256> m_leadLength{};
    bool m_multiByte = false;
    bool m_fourByte = false;
};

// The encoding an XML declaration at the very start names, or the charset of an HTML meta
// element before the end of "head"; empty when none. Only the first 1024 bytes are looked at.
std::string FindDeclaredEncoding(std::string_view text);

// Turns the bytes of a file into the UTF-8 text the document is kept in: byte-order mark, declared
// encoding, UTF-8 test, UTF-16 and UTF-32, conversion. Every step taken is logged as seen from the
// internal code page (a file not in it is logged as converted to it).
std::string DecodeDocumentBytes(std::string&& bytes, XmlBom& bom, XmlResultLog& log, const XmlInternalCodec& codec);

// Turns the UTF-8 document text into the bytes of a file in its declared encoding (UTF-8 when none;
// the internal code page when the name is unknown). The result is either text itself (nothing to
// convert, no mark) or storage.
std::string_view EncodeDocumentText(
    std::string_view text, XmlBom bom, XmlResultLog& log, const XmlInternalCodec& codec, std::string& storage);

// Converts between two code pages (UTF-32 by the engine itself, others through iconv). Sets lossy
// when a character had no exact form. False when a code page cannot be converted at all.
[[nodiscard]] bool ConvertCodePage(std::string_view input, int from, int to, std::string& output, bool& lossy);

// Whether every byte of 0x80 or more is part of a valid UTF-8 sequence (a sequence cut off by the
// end passes); hasHigh tells whether there was any such byte.
bool LooksLikeUtf8(std::string_view bytes, bool& hasHigh);

// Replaces each byte that is not part of a valid UTF-8 sequence by "?" (setting lossy).
void SanitizeUtf8InPlace(std::string& text, bool& lossy);

} // namespace core
