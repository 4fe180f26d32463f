#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace downloader {

// Parses an IPv4 address as the sockets function inet_addr does: one to four parts separated by '.',
// each decimal, octal (leading 0) or hexadecimal (0x); the last part fills the remaining bytes.
// 255.255.255.255 equals inet_addr's failure value and is refused like it. The value is in host order.
[[nodiscard]] std::optional<std::uint32_t> ParseInetAddr(std::string_view text);

// The address when the text is four dotted decimal numbers 0-255 (blanks around it allowed), written
// back without leading zeros ("192.168.001.010" gives "192.168.1.10", never the octal reading).
[[nodiscard]] std::optional<std::string> DottedQuad(std::string_view text);

// Dotted-quad text of a host-order address.
std::string FormatInetAddr(std::uint32_t address);

// The receiver's address for a PC address: 1 added to the last octet, staying inside it (255 -> 0).
// Empty when the PC address does not parse.
[[nodiscard]] std::string DeriveReceiverAddress(std::string_view pcAddress);

// The list used when the system's serial port list cannot be read (COM7 twice, no ';' at the end).
inline constexpr std::string_view kFallbackPortList = "COM1;COM2;COM3;COM4;COM5;COM6;COM7;COM7;COM8;COM9;COM10";

// Port list text from names: each name followed by ';'.
std::string JoinPortList(const std::vector<std::string>& names);

// The names of a port list text: every piece ended by ';' (an empty one too) and a non-empty last piece.
std::vector<std::string> SplitPortList(std::string_view text);

// At most this many adapters are looked at.
inline constexpr std::size_t kMaxAdapters = 10;

// The PC IP list: the pieces of each adapter's comma-separated address list that parse as addresses,
// adapters in order (the first kMaxAdapters only), addresses in each adapter's order.
std::vector<std::string> PcAddressesFromAdapters(const std::vector<std::string>& adapterAddressLists);

} // namespace downloader
