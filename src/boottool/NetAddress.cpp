#include "boottool/NetAddress.h"

#include "platform/Sockets.h"

#include <cstdint>

namespace boottool {

namespace {

[[nodiscard]] std::optional<in_addr> ReadAddress(std::string_view text)
{
    const std::string copy(text);
    in_addr address{};
    if (!platform::ReadIpv4(copy, address)) {
        return std::nullopt;
    }
    return address;
}

std::string FormatAddress(in_addr address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

} // namespace

bool IsIpv4Address(std::string_view text)
{
    return ReadAddress(text).has_value();
}

std::optional<std::string> DottedAddress(std::string_view text)
{
    const auto address = ReadAddress(text);
    if (!address) {
        return std::nullopt;
    }
    return FormatAddress(*address);
}

std::optional<std::string> NextHostAddress(std::string_view pcAddress)
{
    const auto address = ReadAddress(pcAddress);
    if (!address) {
        return std::nullopt;
    }
    const std::uint32_t host = ntohl(address->s_addr);
    const std::uint32_t last = (host + 1) & 0xFFu;
    in_addr next{};
    next.s_addr = htonl((host & ~0xFFu) | last);
    return FormatAddress(next);
}

} // namespace boottool
