#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Packet layouts of the Trivial File Transfer Protocol (RFC 1350); all numbers big-endian.
namespace boottool::tftp {

// The first field of every packet, with its value on the wire.
enum class Opcode : std::uint16_t {
    ReadRequest = 1,
    WriteRequest = 2,
    Data = 3,
    Ack = 4,
    Error = 5,
};

// The error codes the server sends, with their values on the wire.
enum class ErrorCode : std::uint16_t {
    NotDefined = 0, // the message says it all
    FileNotFound = 1,
    AccessViolation = 2,
    IllegalOperation = 4,
};

// System error numbers are sent as this plus errno.
inline constexpr std::uint16_t kSystemErrorBase = 100;

inline constexpr std::size_t kBlockSize = 512; // data bytes per block
inline constexpr std::size_t kMaxPacket = kBlockSize + 4; // what the server reads at once
inline constexpr std::size_t kHeaderSize = 4; // opcode + block or error code

enum class RequestFault {
    None,
    TooShort, // not even an opcode
    UnknownOpcode, // neither read nor write request
    NoNameTerminator, // the file name runs to the end of the packet
    EmptyName,
    NoModeTerminator, // the mode runs to the end of the packet
};

// A read or write request; options after the mode are ignored.
struct Request
{
    RequestFault fault = RequestFault::None;
    Opcode opcode{}; // as received: any value when the fault is UnknownOpcode
    std::string file;
    std::string mode;
};

[[nodiscard]] Request ParseRequest(std::span<const std::uint8_t> packet);

enum class Mode { Netascii, Octet, Unknown };
// The transfer mode, ignoring case.
[[nodiscard]] Mode ModeOf(std::string_view mode);

// What a client sent during a transfer.
struct Reply
{
    enum class Kind { Ack, Error, Other } kind = Kind::Other;
    std::uint16_t block = 0; // for Ack
    std::uint16_t code = 0; // for Error
    std::string message; // for Error, up to its terminator or the packet's end
};

[[nodiscard]] Reply ParseReply(std::span<const std::uint8_t> packet);

// Writes a DATA packet into `packet` (resized to 4 + data size).
void BuildData(std::vector<std::uint8_t>& packet, std::uint16_t block, std::span<const std::uint8_t> data);
// An ERROR packet with any code (a system error's, or a client's in tests) or with one of ErrorCode.
std::vector<std::uint8_t> BuildError(std::uint16_t code, std::string_view message);
std::vector<std::uint8_t> BuildError(ErrorCode code, std::string_view message);
std::vector<std::uint8_t> BuildAck(std::uint16_t block);
std::vector<std::uint8_t> BuildRequest(Opcode opcode, std::string_view file, std::string_view mode);

// Client-supplied text made safe to print: printable ASCII only, at most `limit` characters.
std::string PrintableText(std::string_view text, std::size_t limit = 128);

} // namespace boottool::tftp
