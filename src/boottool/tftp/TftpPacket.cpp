#include "boottool/tftp/TftpPacket.h"

#include <algorithm>
#include <cctype>

namespace boottool::tftp {

namespace {

std::uint16_t ReadBe16(std::span<const std::uint8_t> packet, std::size_t offset)
{
    return static_cast<std::uint16_t>((packet[offset] << 8) | packet[offset + 1]);
}

void PutBe16(std::uint8_t* out, std::uint16_t value)
{
    out[0] = static_cast<std::uint8_t>(value >> 8);
    out[1] = static_cast<std::uint8_t>(value);
}

void PutOpcode(std::uint8_t* out, Opcode opcode)
{
    PutBe16(out, static_cast<std::uint16_t>(opcode));
}

// The zero-terminated text starting at `offset`; `end` gets the offset after the terminator, or npos.
std::string TextAt(std::span<const std::uint8_t> packet, std::size_t offset, std::size_t& end)
{
    const auto first = packet.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto zero = std::find(first, packet.end(), std::uint8_t{0});
    end = zero == packet.end() ? std::string::npos : static_cast<std::size_t>(zero - packet.begin()) + 1;
    return std::string(first, zero);
}

} // namespace

Request ParseRequest(std::span<const std::uint8_t> packet)
{
    Request request;
    if (packet.size() < 2) {
        request.fault = RequestFault::TooShort;
        return request;
    }
    request.opcode = static_cast<Opcode>(ReadBe16(packet, 0));
    if (request.opcode != Opcode::ReadRequest && request.opcode != Opcode::WriteRequest) {
        request.fault = RequestFault::UnknownOpcode;
        return request;
    }
    std::size_t end = 0;
    request.file = TextAt(packet, 2, end);
    if (end == std::string::npos) {
        request.fault = RequestFault::NoNameTerminator;
        return request;
    }
    if (request.file.empty()) {
        request.fault = RequestFault::EmptyName;
        return request;
    }
    request.mode = TextAt(packet, end, end);
    if (end == std::string::npos) {
        request.fault = RequestFault::NoModeTerminator;
    }
    return request;
}

Mode ModeOf(std::string_view mode)
{
    const auto equals = [mode](std::string_view name) {
        return std::equal(mode.begin(), mode.end(), name.begin(), name.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        });
    };
    if (equals("netascii")) {
        return Mode::Netascii;
    }
    if (equals("octet")) {
        return Mode::Octet;
    }
    return Mode::Unknown;
}

Reply ParseReply(std::span<const std::uint8_t> packet)
{
    Reply reply;
    if (packet.size() < kHeaderSize) {
        return reply;
    }
    const auto opcode = static_cast<Opcode>(ReadBe16(packet, 0));
    if (opcode == Opcode::Ack) {
        reply.kind = Reply::Kind::Ack;
        reply.block = ReadBe16(packet, 2);
    } else if (opcode == Opcode::Error) {
        reply.kind = Reply::Kind::Error;
        reply.code = ReadBe16(packet, 2);
        std::size_t end = 0;
        reply.message = TextAt(packet, kHeaderSize, end);
    }
    return reply;
}

void BuildData(std::vector<std::uint8_t>& packet, std::uint16_t block, std::span<const std::uint8_t> data)
{
    packet.resize(kHeaderSize + data.size());
    PutOpcode(packet.data(), Opcode::Data);
    PutBe16(packet.data() + 2, block);
    std::copy(data.begin(), data.end(), packet.begin() + kHeaderSize);
}

std::vector<std::uint8_t> BuildError(std::uint16_t code, std::string_view message)
{
    std::vector<std::uint8_t> packet(kHeaderSize + message.size() + 1, 0);
    PutOpcode(packet.data(), Opcode::Error);
    PutBe16(packet.data() + 2, code);
    std::copy(message.begin(), message.end(), packet.begin() + kHeaderSize);
    return packet;
}

std::vector<std::uint8_t> BuildError(ErrorCode code, std::string_view message)
{
    return BuildError(static_cast<std::uint16_t>(code), message);
}

std::vector<std::uint8_t> BuildAck(std::uint16_t block)
{
    std::vector<std::uint8_t> packet(kHeaderSize, 0);
    PutOpcode(packet.data(), Opcode::Ack);
    PutBe16(packet.data() + 2, block);
    return packet;
}

std::vector<std::uint8_t> BuildRequest(Opcode opcode, std::string_view file, std::string_view mode)
{
    std::vector<std::uint8_t> packet(2 + file.size() + 1 + mode.size() + 1, 0);
    PutOpcode(packet.data(), opcode);
    std::copy(file.begin(), file.end(), packet.begin() + 2);
    std::copy(mode.begin(), mode.end(), packet.begin() + static_cast<std::ptrdiff_t>(3 + file.size()));
    return packet;
}

std::string PrintableText(std::string_view text, std::size_t limit)
{
    std::string out;
    for (const char c : text.substr(0, limit)) {
        out += (c >= 0x20 && c < 0x7f) ? c : '?';
    }
    return out;
}

} // namespace boottool::tftp
