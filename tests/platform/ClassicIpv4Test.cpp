#include "platform/ClassicIpv4.h"
#include "platform/Sockets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

namespace {

struct Case
{
    const char* text;
    std::optional<std::uint32_t> address; // host order
};

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {"192.168.1.10", 0xC0A8010Au},
        {"0.0.0.0", 0u},
        {"255.255.255.255", 0xFFFFFFFFu},
        {"127.1", 0x7F000001u},
        {"10.1.2", 0x0A010002u},
        {"3232235786", 0xC0A8010Au},
        {"0x7f000001", 0x7F000001u},
        {"0X7F.1", 0x7F000001u},
        {"010.0.0.1", 0x08000001u},
        {"0", 0u},
        {"00", 0u},
        {"1.2.3.4 trailing words", 0x01020304u},
        {"1.2.3.4\t", 0x01020304u},
        {"10.0x1ff", 0x0A0001FFu},
        {"", std::nullopt},
        {" 1.2.3.4", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1.2.3.256", std::nullopt},
        {"256.1.1.1", std::nullopt},
        {"1.2.65536", std::nullopt},
        {"1.16777216", std::nullopt},
        {"4294967296", std::nullopt},
        {"08.1.1.1", std::nullopt},
        {"1.2.3.09", std::nullopt},
        {"1..2.3", std::nullopt},
        {"1.2.3.", std::nullopt},
        {".1.2.3", std::nullopt},
        {"1.2.3.4x", std::nullopt},
        {"0x", std::nullopt},
        {"1.0x", std::nullopt},
        {"-1.2.3.4", std::nullopt},
        {"abc", std::nullopt},
    };
    return cases;
}

TEST(ClassicIpv4Test, ReadsTheFormsOfTheBsdParser)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.text);
        std::uint32_t address = 0;
        const bool read = ParseClassicIpv4(c.text, address);
        ASSERT_EQ(read, c.address.has_value());
        if (read) {
            EXPECT_EQ(address, *c.address);
        }
    }
}

TEST(ClassicIpv4Test, ReadIpv4GivesNetworkOrder)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.text);
        in_addr address{};
        const bool read = ReadIpv4(c.text, address);
        ASSERT_EQ(read, c.address.has_value());
        if (read) {
            EXPECT_EQ(ntohl(address.s_addr), *c.address);
        }
    }
}

#ifndef _WIN32
// The system's inet_aton is the reference the parser for Windows copies.
TEST(ClassicIpv4Test, AgreesWithTheSystemParser)
{
    std::vector<std::string> texts;
    for (const Case& c : Cases()) {
        texts.emplace_back(c.text);
    }
    for (const char* extra : {"1.2.3.4\n",
                              "0x.1.2.3",
                              "0xg",
                              "1.2.3.0xff",
                              "0377.0377.0377.0377",
                              "1.2.3.4.",
                              "99999999999",
                              "0x100000000",
                              "1.0x1000000"}) {
        texts.emplace_back(extra);
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        in_addr system{};
        const bool systemRead = !text.empty() && inet_aton(text.c_str(), &system) != 0;
        std::uint32_t ours = 0;
        const bool oursRead = ParseClassicIpv4(text, ours);
        ASSERT_EQ(oursRead, systemRead);
        if (oursRead) {
            EXPECT_EQ(ours, ntohl(system.s_addr));
        }
    }
}
#endif

} // namespace

} // namespace platform
