#include "edit/CaseFolder.h"

#include "common/CharsetConverter.h"
#include "common/CodePage.h"
#include "platform/LetterCase.h"

#include <algorithm>
#include <array>

namespace core {

namespace {

constexpr const char* kUtf32 = "UTF-32LE";
constexpr std::size_t kLongestCharacter = 4; // bytes of the widest character of a supported code page

enum class Decoded { Character, Invalid, Incomplete };

// Decodes the first character of bytes into c; consumed is the number of bytes it took.
Decoded DecodeOne(CharsetConverter& decoder, std::string_view bytes, char32_t& c, std::size_t& consumed)
{
    // The shortest start of the bytes that makes one whole character.
    for (std::size_t size = 1; size <= std::min(bytes.size(), kLongestCharacter); ++size) {
        std::string unit;
        const CharsetConverter::Step step = decoder.Convert(bytes.substr(0, size), unit);
        if (step.outcome == CharsetConverter::Outcome::Done && unit.size() == 4) {
            consumed = size;
            c = static_cast<char32_t>(static_cast<unsigned char>(unit[0]) | (static_cast<unsigned char>(unit[1]) << 8)
                                      | (static_cast<unsigned char>(unit[2]) << 16)
                                      | (static_cast<std::uint32_t>(static_cast<unsigned char>(unit[3])) << 24));
            return Decoded::Character;
        }
        decoder.Reset();
        if (step.outcome != CharsetConverter::Outcome::Incomplete) {
            consumed = 0;
            return Decoded::Invalid;
        }
    }
    consumed = 0;
    return Decoded::Incomplete;
}

} // namespace

CaseFolder::~CaseFolder() = default;

CaseFolder::CaseFolder()
    : m_charset(InternalCodePage().charset)
    , m_decoder(std::make_unique<CharsetConverter>(m_charset, kUtf32))
{
    CharsetConverter& decoder = *m_decoder;
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
            const std::string& lower = LowerBytes(platform::LowerCase(c));
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
    while (!name.empty()) {
        char32_t c = 0;
        std::size_t consumed = 0;
        if (DecodeOne(*m_decoder, name, c, consumed) != Decoded::Character) {
            consumed = 1; // not a character of the code page: the byte stays as it is
        } else if (const char32_t lower = platform::LowerCase(c); lower != c && !LowerBytes(lower).empty()) {
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
    CharsetConverter encoder(kUtf32, m_charset);
    if (!encoder.Valid()) {
        return bytes;
    }
    const std::array<char, 4> unit{static_cast<char>(lower & 0xFF),
                                   static_cast<char>((lower >> 8) & 0xFF),
                                   static_cast<char>((lower >> 16) & 0xFF),
                                   static_cast<char>((lower >> 24) & 0xFF)};
    std::string encoded;
    const CharsetConverter::Step step = encoder.Convert(std::string_view(unit.data(), unit.size()), encoded);
    if (step.outcome != CharsetConverter::Outcome::Done || step.inexact) {
        return bytes; // no exact form in the code page (or only an approximation)
    }
    encoder.Finish(encoded); // back to the initial shift state
    bytes = encoded;
    return bytes;
}

} // namespace core
