#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace core {

// The offset of the first byte at or after from that is a, b or c, or npos. Eight bytes at a time
// on little-endian machines: a byte equal to one of them shows as a zero byte of the word XORed
// with that byte repeated, and the lowest zero byte found that way is always a true one.
inline std::size_t FindFirstOfThree(std::string_view text, std::size_t from, char a, char b, char c)
{
    std::size_t pos = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        const auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
        const std::uint64_t wa = kOnes * static_cast<unsigned char>(a);
        const std::uint64_t wb = kOnes * static_cast<unsigned char>(b);
        const std::uint64_t wc = kOnes * static_cast<unsigned char>(c);
        for (; pos + sizeof(std::uint64_t) <= text.size(); pos += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + pos, sizeof(word));
            const std::uint64_t hits = zeroBytes(word ^ wa) | zeroBytes(word ^ wb) | zeroBytes(word ^ wc);
            if (hits != 0) {
                return pos + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
            }
        }
    }
    for (; pos < text.size(); ++pos) {
        const char byte = text[pos];
        if (byte == a || byte == b || byte == c) {
            return pos;
        }
    }
    return std::string_view::npos;
}

// The offset of the first byte equal to c at or after from, or npos. Markup is dense, so the bytes
// close by are looked at here, word by word, before the library's search takes the rest.
inline std::size_t FindByteNear(std::string_view text, std::size_t from, char c)
{
    std::size_t pos = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        constexpr std::size_t kNearWords = 2;
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
        for (std::size_t k = 0; k < kNearWords && pos + sizeof(std::uint64_t) <= text.size();
             ++k, pos += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + pos, sizeof(word));
            word ^= pattern;
            const std::uint64_t hits = (word - kOnes) & ~word & kHighs;
            if (hits != 0) {
                return pos + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
            }
        }
    }
    if (pos >= text.size()) {
        return std::string_view::npos;
    }
    const void* hit = std::memchr(text.data() + pos, c, text.size() - pos);
    return hit == nullptr ? std::string_view::npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// Whether every byte of text is ASCII and none is a CR or an "&": text that reads as it stands
// wherever ASCII is the same bytes in the code page. One pass, eight bytes at a time.
inline bool IsPlainAscii(std::string_view text)
{
    std::size_t pos = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        const auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
        for (; pos + sizeof(std::uint64_t) <= text.size(); pos += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + pos, sizeof(word));
            if (((word & kHighs) | zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word ^ (kOnes * '&'))) != 0) {
                return false;
            }
        }
    }
    for (; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte >= 0x80 || byte == '\r' || byte == '&') {
            return false;
        }
    }
    return true;
}

// Whether text begins with the bytes of prefix, which is short (a name): compared in place, as a
// call to the library's comparison costs more than the comparison itself.
inline bool SameShortBytes(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        if (text[k] != prefix[k]) {
            return false;
        }
    }
    return true;
}

// The ">" ending a start tag whose name begins before from: quoted values may hold ">". npos when
// the text ends first. Scans bytes, so the text must be UTF-8 or a single-byte code page.
inline std::size_t QuotedTagEnd(std::string_view text, std::size_t from)
{
    for (std::size_t pos = from;;) {
        pos = FindFirstOfThree(text, pos, '>', '"', '\'');
        if (pos == std::string_view::npos || text[pos] == '>') {
            return pos;
        }
        const std::size_t close = FindByteNear(text, pos + 1, text[pos]);
        if (close == std::string_view::npos) {
            return close;
        }
        pos = close + 1;
    }
}

} // namespace core
