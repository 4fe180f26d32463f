#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace boottool {

// Whether the text is an IPv4 address as inet_addr reads it ("a.b.c.d", also the short and hex forms).
bool IsIpv4Address(std::string_view text);

// The address in dotted-quad form ("0x7f000001" gives "127.0.0.1"), or nullopt when it is none.
[[nodiscard]] std::optional<std::string> DottedAddress(std::string_view text);

// The receiver's default address: the PC's address with 1 added to its last octet, wrapping inside
// the octet (x.y.z.255 gives x.y.z.0). nullopt when the PC's address cannot be read.
[[nodiscard]] std::optional<std::string> NextHostAddress(std::string_view pcAddress);

// The first IPv4 address of an interface that is up and not the loopback, or nullopt.
[[nodiscard]] std::optional<std::string> DetectLocalAddress();

} // namespace boottool
