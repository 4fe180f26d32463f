#include "edit/CaseFolder.h"

#include "common/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

namespace core {

namespace {
constexpr const char* kUtf32 = "UTF-32LE";
} // namespace

// RAII owner of an iconv descriptor.
class CaseFolder::Converter
{
public:
    Converter(const std::string& to, const std::string& from)
        : m_cd(iconv_open(to.c_str(), from.c_str()))
    { }
    ~Converter()
    {
        if (Valid()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }
    void Reset() const { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

namespace {

using Converter = CaseFolder::Converter;

enum class Decoded { Character, Invalid, Incomplete };

// Decodes the first character of bytes into c; consumed is the number of bytes it took.
Decoded DecodeOne(const Converter& decoder, std::string_view bytes, char32_t& c, std::size_t& consumed)
{
    char* in = const_cast<char*>(bytes.data()); // iconv takes a non-const pointer but never writes
    std::size_t inLeft = bytes.size();
    std::array<unsigned char, 4> unit{};
    char* out = reinterpret_cast<char*>(unit.data());
    std::size_t outLeft = unit.size();
    const std::size_t rc = iconv(decoder.Get(), &in, &inLeft, &out, &outLeft);
    const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
    consumed = bytes.size() - inLeft;
    if (outLeft == 0 && consumed > 0) {
        c = static_cast<char32_t>(unit[0] | (unit[1] << 8) | (unit[2] << 16)
                                  | (static_cast<std::uint32_t>(unit[3]) << 24));
        return Decoded::Character;
    }
    decoder.Reset();
    return error == EINVAL ? Decoded::Incomplete : Decoded::Invalid;
}

// The lower-case form of a character; Unicode's rules when the C.UTF-8 locale is there, else ASCII's.
char32_t ToLower(char32_t c)
{
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (utf8 != static_cast<locale_t>(nullptr)) {
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), utf8));
    }
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

} // namespace

CaseFolder::~CaseFolder() = default;

CaseFolder::CaseFolder()
    : m_charset(InternalCodePage().charset)
    , m_decoder(std::make_unique<Converter>(kUtf32, m_charset))
{
    const Converter& decoder = *m_decoder;
    for (std::size_t b = 0; b < m_table.size(); ++b) {
        m_table[b] = static_cast<std::uint8_t>(b);
    }
    if (!decoder.Valid()) {
        return; // no conversion: names compare as bytes
    }
    for (std::size_t b = 0; b < m_table.size() && m_singleByte; ++b) {
        const char byte = static_cast<char>(b);
        char32_t c = 0;
        std::size_t consumed = 0;
        const Decoded decoded = DecodeOne(decoder, std::string_view(&byte, 1), c, consumed);
        if (decoded == Decoded::Incomplete) {
            m_singleByte = false; // a lead byte: characters may span several bytes
        } else if (decoded == Decoded::Character) {
            const std::string& lower = LowerBytes(ToLower(c));
            if (lower.size() == 1) {
                m_table[b] = static_cast<std::uint8_t>(lower[0]);
            }
        }
    }
}

std::string CaseFolder::Fold(std::string_view name)
{
    std::string key;
    key.reserve(name.size());
    if (m_singleByte) {
        for (const char c : name) {
            key.push_back(static_cast<char>(m_table[static_cast<unsigned char>(c)]));
        }
        return key;
    }
    FoldCharacters(name, key);
    return key;
}

void CaseFolder::FoldCharacters(std::string_view name, std::string& key)
{
    if (!m_decoder->Valid()) {
        key.assign(name);
        return;
    }
    m_decoder->Reset();
    while (!name.empty()) {
        char32_t c = 0;
        std::size_t consumed = 0;
        if (DecodeOne(*m_decoder, name, c, consumed) != Decoded::Character) {
            consumed = 1; // not a character of the code page: the byte stays as it is
        } else if (const char32_t lower = ToLower(c); lower != c && !LowerBytes(lower).empty()) {
            key.append(LowerBytes(lower));
            name.remove_prefix(consumed);
            continue;
        }
        key.append(name.substr(0, consumed));
        name.remove_prefix(consumed);
    }
}

const std::string& CaseFolder::LowerBytes(char32_t lower)
{
    const auto cached = m_lowerCache.find(lower);
    if (cached != m_lowerCache.end()) {
        return cached->second;
    }
    std::string& bytes = m_lowerCache[lower];
    const Converter encoder(m_charset, kUtf32);
    if (!encoder.Valid()) {
        return bytes;
    }
    const std::array<char, 4> unit{static_cast<char>(lower & 0xFF),
                                   static_cast<char>((lower >> 8) & 0xFF),
                                   static_cast<char>((lower >> 16) & 0xFF),
                                   static_cast<char>((lower >> 24) & 0xFF)};
    char* in = const_cast<char*>(unit.data());
    std::size_t inLeft = unit.size();
    std::array<char, 16> encoded{};
    char* out = encoded.data();
    std::size_t outLeft = encoded.size();
    if (iconv(encoder.Get(), &in, &inLeft, &out, &outLeft) != 0) {
        return bytes; // no exact form in the code page (or only an approximation)
    }
    iconv(encoder.Get(), nullptr, nullptr, &out, &outLeft); // back to the initial shift state
    bytes.assign(encoded.data(), encoded.size() - outLeft);
    return bytes;
}

} // namespace core
