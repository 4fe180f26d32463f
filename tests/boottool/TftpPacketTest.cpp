#include "boottool/tftp/TftpPacket.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DataPacket(std::uint16_t block, const Bytes& data)
{
    Bytes packet;
    tftp::BuildData(packet, block, data);
    return packet;
}

// The numbers are written out here as the clients on the wire know them, not through the enums.
TEST(TftpPacketTest, BuildersWriteTheWireNumbers)
{
    struct Case
    {
        const char* name;
        Bytes packet;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"read request",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "a", "octet"),
         {0, 1, 'a', 0, 'o', 'c', 't', 'e', 't', 0}},
        {"write request", tftp::BuildRequest(tftp::Opcode::WriteRequest, "a", "x"), {0, 2, 'a', 0, 'x', 0}},
        {"data", DataPacket(0x0102, {'x', 'y'}), {0, 3, 1, 2, 'x', 'y'}},
        {"ack", tftp::BuildAck(0x1234), {0, 4, 0x12, 0x34}},
        {"file not found", tftp::BuildError(tftp::ErrorCode::FileNotFound, "m"), {0, 5, 0, 1, 'm', 0}},
        {"access violation", tftp::BuildError(tftp::ErrorCode::AccessViolation, "m"), {0, 5, 0, 2, 'm', 0}},
        {"illegal operation", tftp::BuildError(tftp::ErrorCode::IllegalOperation, ""), {0, 5, 0, 4, 0}},
        {"any code", tftp::BuildError(std::uint16_t{0x0179}, ""), {0, 5, 1, 0x79, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.packet, c.expected);
    }
}

TEST(TftpPacketTest, RequestsAreReadByTheirWireOpcode)
{
    struct Case
    {
        const char* name;
        Bytes packet;
        tftp::RequestFault fault;
        unsigned opcode;
    };
    const std::vector<Case> cases = {
        {"read", {0, 1, 'f', 0, 'o', 'c', 't', 'e', 't', 0}, tftp::RequestFault::None, 1},
        {"write", {0, 2, 'f', 0, 'o', 'c', 't', 'e', 't', 0}, tftp::RequestFault::None, 2},
        {"data is no request", {0, 3, 'f', 0, 'o', 0}, tftp::RequestFault::UnknownOpcode, 3},
        {"high byte counts", {1, 1, 'f', 0, 'o', 0}, tftp::RequestFault::UnknownOpcode, 0x0101},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tftp::Request request = tftp::ParseRequest(c.packet);
        EXPECT_EQ(request.fault, c.fault);
        EXPECT_EQ(static_cast<unsigned>(request.opcode), c.opcode);
    }
    const tftp::Request read = tftp::ParseRequest(cases[0].packet);
    EXPECT_EQ(read.opcode, tftp::Opcode::ReadRequest);
    EXPECT_EQ(read.file, "f");
    EXPECT_EQ(read.mode, "octet");
    EXPECT_EQ(tftp::ParseRequest(cases[1].packet).opcode, tftp::Opcode::WriteRequest);
}

TEST(TftpPacketTest, RepliesAreReadByTheirWireOpcode)
{
    using Kind = tftp::Reply::Kind;
    struct Case
    {
        const char* name;
        Bytes packet;
        Kind kind;
        std::uint16_t block;
        std::uint16_t code;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"ack", {0, 4, 0x12, 0x34}, Kind::Ack, 0x1234, 0, ""},
        {"error", {0, 5, 0, 2, 'n', 'o', 0}, Kind::Error, 0, 2, "no"},
        {"error without terminator", {0, 5, 1, 0, 'n'}, Kind::Error, 0, 0x0100, "n"},
        {"data is neither", {0, 3, 0, 1}, Kind::Other, 0, 0, ""},
        {"ack with a high byte", {1, 4, 0, 1}, Kind::Other, 0, 0, ""},
        {"too short", {0, 4, 0}, Kind::Other, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tftp::Reply reply = tftp::ParseReply(c.packet);
        EXPECT_EQ(reply.kind, c.kind);
        EXPECT_EQ(reply.block, c.block);
        EXPECT_EQ(reply.code, c.code);
        EXPECT_EQ(reply.message, c.message);
    }
}

} // namespace

} // namespace boottool
