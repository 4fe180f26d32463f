#include "downloader/core/InetAddress.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace downloader {

namespace {

constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFu;

// One part in C notation; none when it is empty, has a bad digit or passes 32 bits.
std::optional<std::uint64_t> ParsePart(std::string_view text)
{
    unsigned base = 10;
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
        base = 8;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return base == 16 ? std::optional<std::uint64_t>(0) : std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        if (digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) {
            return std::nullopt;
        }
    }
    return value;
}

} // namespace

std::optional<std::uint32_t> ParseInetAddr(std::string_view text)
{
    std::array<std::uint64_t, 4> parts{};
    std::size_t count = 0;
    while (true) {
        const std::size_t dot = text.find('.');
        if (count == parts.size()) {
            return std::nullopt;
        }
        const std::optional<std::uint64_t> part = ParsePart(text.substr(0, dot));
        if (!part) {
            return std::nullopt;
        }
        parts[count++] = *part;
        if (dot == std::string_view::npos) {
            break;
        }
        text.remove_prefix(dot + 1);
    }
    std::uint64_t address = 0;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xFF) {
            return std::nullopt;
        }
        address |= parts[i] << (24 - 8 * i);
    }
    const std::uint64_t lastLimit = 0xFFFFFFFFull >> (8 * (count - 1));
    if (parts[count - 1] > lastLimit) {
        return std::nullopt;
    }
    address |= parts[count - 1];
    if (address == kInaddrNone) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(address);
}

std::optional<std::string> DottedQuad(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, last - first + 1);
    constexpr std::size_t kParts = 4;
    constexpr std::size_t kMaxDigits = 3;
    constexpr unsigned kMaxOctet = 255;
    std::string dotted;
    for (std::size_t part = 0; part < kParts; ++part) {
        const std::size_t dot = text.find('.');
        const std::string_view digits = text.substr(0, dot);
        if (digits.empty() || digits.size() > kMaxDigits
            || digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        unsigned value = 0;
        for (const char c : digits) {
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value > kMaxOctet || (dot == std::string_view::npos) != (part == kParts - 1)) {
            return std::nullopt;
        }
        if (part > 0) {
            dotted += '.';
        }
        dotted += std::to_string(value);
        text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    }
    return dotted;
}

std::string FormatInetAddr(std::uint32_t address)
{
    char text[16];
    std::snprintf(
        text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

std::string DeriveReceiverAddress(std::string_view pcAddress)
{
    const std::optional<std::uint32_t> address = ParseInetAddr(pcAddress);
    if (!address) {
        return {};
    }
    const std::uint32_t last = (*address + 1) & 0xFF;
    return FormatInetAddr((*address & 0xFFFFFF00u) | last);
}

std::string JoinPortList(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) {
        text += name + ";";
    }
    return text;
}

std::vector<std::string> SplitPortList(std::string_view text)
{
    std::vector<std::string> names;
    while (true) {
        const std::size_t semicolon = text.find(';');
        if (semicolon == std::string_view::npos) {
            if (!text.empty()) {
                names.emplace_back(text);
            }
            return names;
        }
        names.emplace_back(text.substr(0, semicolon));
        text.remove_prefix(semicolon + 1);
    }
}

std::vector<std::string> PcAddressesFromAdapters(const std::vector<std::string>& adapterAddressLists)
{
    std::vector<std::string> addresses;
    const std::size_t count = std::min(adapterAddressLists.size(), kMaxAdapters);
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view list = adapterAddressLists[i];
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            const std::string_view piece = list.substr(0, comma);
            if (ParseInetAddr(piece)) {
                addresses.emplace_back(piece);
            }
            list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
        }
    }
    return addresses;
}

} // namespace downloader
