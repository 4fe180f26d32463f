#include "boottool/NetAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstdint>
#include <cstring>

namespace boottool {

namespace {

[[nodiscard]] std::optional<in_addr> ReadAddress(std::string_view text)
{
    const std::string copy(text);
    in_addr address{};
    if (copy.empty() || inet_aton(copy.c_str(), &address) == 0) {
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

std::optional<std::string> DetectLocalAddress()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return std::nullopt;
    }
    std::optional<std::string> found;
    for (const ifaddrs* entry = list; entry != nullptr && !found; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        sockaddr_in address{};
        std::memcpy(&address, entry->ifa_addr, sizeof address);
        found = FormatAddress(address.sin_addr);
    }
    freeifaddrs(list);
    return found;
}

} // namespace boottool
