#include "downloader/core/InetAddress.h"

#include <gtest/gtest.h>

namespace downloader {

TEST(InetAddress, ParsesLikeInetAddr)
{
    const std::vector<std::pair<std::string, std::optional<std::uint32_t>>> cases{
        {"192.168.1.10", 0xC0A8010A},
        {"0.0.0.0", 0},
        {"255.255.255.254", 0xFFFFFFFE},
        {"255.255.255.255", std::nullopt}, // equals the failure value
        {"10.1", 0x0A000001},
        {"10.1.2", 0x0A010002},
        {"167772161", 0x0A000001},
        {"0x7f.1", 0x7F000001},
        {"010.0.0.1", 0x08000001},
        {"192.168.1.256", std::nullopt},
        {"256.1.1.1", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"", std::nullopt},
        {"1..2", std::nullopt},
        {"1.2.3.", std::nullopt},
        {"09.1.1.1", std::nullopt},
        {"a.b.c.d", std::nullopt},
        {" 1.2.3.4", std::nullopt},
        {"10.16777216", std::nullopt},
        {"10.16777215", 0x0AFFFFFF},
        {"1.2.65536", std::nullopt},
        {"10.65535", 0x0A00FFFF},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseInetAddr(text), value);
    }
}

// The address fields of the window take four dotted decimal numbers only: the short and octal forms
// inet_addr reads are a trap for a typed address ("010" is 8 there).
TEST(InetAddress, DottedQuadTakesFourDecimalNumbers)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {"192.168.1.10", "192.168.1.10"},
        {"0.0.0.0", "0.0.0.0"},
        {"255.255.255.255", "255.255.255.255"},
        {" 10.0.0.6\t", "10.0.0.6"},
        {"192.168.001.010", "192.168.1.10"},
        {"10.1", std::nullopt},
        {"167772161", std::nullopt},
        {"0x7f.0.0.1", std::nullopt},
        {"192.168.1.256", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1..2.3", std::nullopt},
        {"1.2.3.", std::nullopt},
        {".1.2.3", std::nullopt},
        {"1.2.3.0004", std::nullopt},
        {"1.2.3.-4", std::nullopt},
        {"1.2. 3.4", std::nullopt},
        {"0x00010000", std::nullopt}, // what an empty field once left in the -s place
        {"", std::nullopt},
        {"  ", std::nullopt},
    };
    for (const auto& [text, dotted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(DottedQuad(text), dotted);
    }
}

TEST(InetAddress, ReceiverAddressStaysInTheLastOctet)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"192.168.1.10", "192.168.1.11"},
        {"192.168.1.255", "192.168.1.0"},
        {"10.0.0.254", "10.0.0.255"},
        {"0.0.0.0", "0.0.0.1"},
        {"", ""},
        {"nonsense", ""},
    };
    for (const auto& [pc, stb] : cases) {
        SCOPED_TRACE(pc);
        EXPECT_EQ(DeriveReceiverAddress(pc), stb);
    }
}

TEST(InetAddress, PortListSplitting)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"COM3;COM4;", {"COM3", "COM4"}},
        {"", {}},
        {";", {""}},
        {"COM3;;COM4", {"COM3", "", "COM4"}},
        {std::string(kFallbackPortList),
         {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM7", "COM8", "COM9", "COM10"}},
        {"/dev/ttyUSB0;/dev/ttyACM12;", {"/dev/ttyUSB0", "/dev/ttyACM12"}},
    };
    for (const auto& [text, names] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(SplitPortList(text), names);
    }
    EXPECT_EQ(JoinPortList({"/dev/ttyS0", "/dev/ttyUSB10"}), "/dev/ttyS0;/dev/ttyUSB10;");
}

TEST(InetAddress, AdapterAddresses)
{
    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i) {
        twelve.push_back("10.0.0." + std::to_string(i));
    }
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases{
        {{"192.168.1.2,10.0.0.1", "", "0.0.0.0"}, {"192.168.1.2", "10.0.0.1", "0.0.0.0"}},
        {{"255.255.255.255,1.2.3.4,,x"}, {"1.2.3.4"}},
        {twelve,
         {"10.0.0.1",
          "10.0.0.2",
          "10.0.0.3",
          "10.0.0.4",
          "10.0.0.5",
          "10.0.0.6",
          "10.0.0.7",
          "10.0.0.8",
          "10.0.0.9",
          "10.0.0.10"}},
        {{}, {}},
    };
    for (const auto& [lists, addresses] : cases) {
        EXPECT_EQ(PcAddressesFromAdapters(lists), addresses);
    }
}

} // namespace downloader
