#include "boottool/NetAddress.h"
#include "boottool/NumberWord.h"
#include "boottool/SerialDevice.h"
#include "boottool/Str2Argv.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

using Words = std::vector<std::string>;

TEST(Str2ArgvTest, SplitsWordsWithQuotesAndBackslashes)
{
    struct Case
    {
        const char* input;
        Words words;
    };
    const std::vector<Case> cases = {
        {"flash eraseall", {"flash", "eraseall"}},
        {"  a\t b\nc  ", {"a", "b", "c"}},
        {"", {}},
        {" \t\n", {}},
        {"serialdown 0x10000 \"C:\\my files\\app.bin\"", {"serialdown", "0x10000", "C:\\my files\\app.bin"}},
        {"x 'single quoted' y", {"x", "single quoted", "y"}},
        {"\"it's\" 'say \"hi\"'", {"it's", "say \"hi\""}},
        {"\"a \\\" b\"", {"a \" b"}}, // backslash before the closing quote: a literal quote
        {"'a \\' b'", {"a ' b"}},
        {"\"C:\\\\dir\\\\x\"", {"C:\\\\dir\\\\x"}}, // inside quotes a backslash is ordinary
        {"a\\ b c", {"a b", "c"}}, // outside quotes a backslash makes the blank ordinary
        {"\\\"x\\\"", {"\"x\""}},
        {"pre\"mid dle\"post", {"premid dle", "post"}}, // the closing quote ends the word
        {"\"\" x", {"", "x"}},
        {"a\\\\b", {"a\\b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const Str2ArgvResult result = str2argv(c.input);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.words, c.words);
    }
}

TEST(Str2ArgvTest, UnmatchedQuoteOrTrailingBackslashGivesNoWords)
{
    for (const char* input : {"netdown 0 \"C:\\fw\\app.bin", "a 'b", "abc\\", "\"a\\\"", "x \"y\" 'z"}) {
        SCOPED_TRACE(input);
        const Str2ArgvResult result = str2argv(input);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.words.empty());
        const std::string warning = Str2ArgvWarning(result);
        EXPECT_EQ(warning.rfind("warning fun(str2argv) line(", 0), 0u);
        EXPECT_EQ(warning.substr(warning.find(')', 22)), "):free inside function.\n");
    }
}

TEST(SplitCommandsTest, SplitsAtUnquotedSemicolons)
{
    struct Case
    {
        const char* input;
        Words pieces;
    };
    const std::vector<Case> cases = {
        {"flash eraseall", {"flash eraseall"}},
        {" flash eraseall", {"flash eraseall"}},
        {"flash erase 0 4096;serialdown 0 a.bin", {"flash erase 0 4096", "serialdown 0 a.bin"}},
        {"a ; b ;", {"a", "b"}},
        {";; a;;", {"a"}},
        {"", {}},
        {"  ;  ", {}},
        {"netdown 0 \"C:\\a;b.bin\"; flash eraseall", {"netdown 0 \"C:\\a;b.bin\"", "flash eraseall"}},
        {"netdown 0 'x;y'", {"netdown 0 'x;y'"}},
        {"echo a\\;b", {"echo a\\;b"}},
        {"unclosed \"a;b", {"unclosed \"a;b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(SplitCommands(c.input), c.pieces);
    }
}

TEST(NumberWordTest, ReadsBasePrefixes)
{
    struct Case
    {
        const char* word;
        std::optional<std::uint32_t> value;
    };
    const std::vector<Case> cases = {
        {"0", 0u},
        {"250", 250u},
        {"0x00010000", 0x10000u},
        {"0XfF", 255u},
        {"010", 8u},
        {"0777", 511u},
        {"4294967295", 4294967295u},
        {"0xffffffff", 0xffffffffu},
        {"4294967296", std::nullopt},
        {"0x100000000", std::nullopt},
        {"08", std::nullopt},
        {"0x", std::nullopt},
        {"", std::nullopt},
        {"12k", std::nullopt},
        {"-1", std::nullopt},
        {"0xg", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(ParseNumberWord(c.word), c.value);
    }
}

TEST(NetAddressTest, ReceiverAddressIsTheNextHostInsideTheOctet)
{
    struct Case
    {
        const char* pc;
        std::optional<std::string> next;
    };
    const std::vector<Case> cases = {
        {"192.168.120.100", "192.168.120.101"},
        {"10.0.0.254", "10.0.0.255"},
        {"10.0.0.255", "10.0.0.0"},
        {"10.0.1.255", "10.0.1.0"},
        {"127.1", "127.0.0.2"}, // short form, read as inet_addr reads it
        {"", std::nullopt},
        {"pc.local", std::nullopt},
        {"300.1.1.1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pc);
        EXPECT_EQ(NextHostAddress(c.pc), c.next);
        EXPECT_EQ(IsIpv4Address(c.pc), c.next.has_value());
    }
}

TEST(SerialDeviceTest, PosixMapsComNamesAndKeepsPaths)
{
    struct Case
    {
        const char* name;
        std::optional<std::string> path;
    };
    const std::vector<Case> cases = {
        {"COM1", "/dev/ttyS0"},
        {"COM3", "/dev/ttyS2"},
        {"COM12", "/dev/ttyS11"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM", std::nullopt},
        {"COMx", std::nullopt},
        {"COM3a", std::nullopt},
        {"com3", std::nullopt},
        {"ttyS0", std::nullopt},
        {"\\\\.\\COM3", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PosixSerialDevicePath(c.name), c.path);
    }
    // COM0 is a valid name (the scan tries it) that opens no device.
    ASSERT_TRUE(PosixSerialDevicePath("COM0").has_value());
    EXPECT_EQ(PosixSerialDevicePath("COM0")->rfind("/dev/ttyS", 0), 0u);
}

TEST(SerialDeviceTest, WindowsUsesTheDeviceNamespaceFromCom10On)
{
    struct Case
    {
        const char* name;
        std::optional<std::string> path;
    };
    const std::vector<Case> cases = {
        {"COM0", "COM0"},
        {"COM1", "COM1"},
        {"COM9", "COM9"},
        {"COM10", "\\\\.\\COM10"},
        {"COM256", "\\\\.\\COM256"},
        {"\\\\.\\COM3", "\\\\.\\COM3"},
        {"\\\\.\\", std::nullopt},
        {"/dev/ttyS0", std::nullopt},
        {"COM", std::nullopt},
        {"COM3a", std::nullopt},
        {"com3", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WindowsSerialDevicePath(c.name), c.path);
    }
}

TEST(SerialDeviceTest, TheSystemsOwnMappingIsUsed)
{
#ifdef _WIN32
    EXPECT_EQ(SerialDevicePath("COM12"), WindowsSerialDevicePath("COM12"));
#else
    EXPECT_EQ(SerialDevicePath("COM12"), PosixSerialDevicePath("COM12"));
#endif
}

} // namespace

} // namespace boottool
