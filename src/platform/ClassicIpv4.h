#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The classic IPv4 text forms as BSD's inet_aton reads them: one to four parts separated by dots, each
// decimal, octal (a leading 0) or hexadecimal (0x); the last part fills the bytes the others leave
// ("10.1" is 10.0.0.1); the text may go on after a blank. The address in host order, or false.
[[nodiscard]] bool ParseClassicIpv4(std::string_view text, std::uint32_t& address);

} // namespace platform
