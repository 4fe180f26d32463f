#include "boottool/CmdParser.h"
#include "boottool/Str2Argv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using testsupport::TempDir;

namespace boottool {

namespace {

struct ParserCase
{
    std::string command;
    CmdStatus status;
    std::vector<std::string> preludes;
    std::string text;
    TransferKind kind;
    std::uint64_t size;
};

TEST(CmdParserTest, TranslatesEveryKindOfCommand)
{
    TempDir dir;
    const std::string file250 = dir.Write("fw 250.bin", std::string(250, 'a'));
    const std::string empty = dir.Write("empty.bin", "");
    const NetAddresses net{"192.168.1.10", ""};
    using K = TransferKind;
    using S = CmdStatus;
    const std::vector<ParserCase> cases = {
        {"netdown 0 loader-sflash.bin",
         S::Ok,
         {"config ip 192.168.1.11", "config tftpport 2000"},
         "partition download 0 192.168.1.10 \"loader-sflash.bin\"",
         K::None,
         0},
        {"download kernel \"C:\\fw\\my app.bin\" extra",
         S::Ok,
         {"config ip 192.168.1.11", "config tftpport 2000"},
         "partition download kernel 192.168.1.10 \"C:\\fw\\my app.bin\" extra",
         K::None,
         0},
        {"run app.bin", S::Ok, {}, "bootp 192.168.1.10 app.bin", K::None, 0},
        {"boot app.bin 0x80000000 more", S::Ok, {}, "bootp 192.168.1.10 app.bin 0x80000000", K::None, 0},
        {"serialdown 0x00010000 \"" + file250 + "\"", S::Ok, {}, "serialdown 0x00010000 250", K::SendFile, 250},
        {"serialdown main '" + file250 + "' fast", S::Ok, {}, "serialdown main 250 fast", K::SendFile, 250},
        {"serialdown 0 " + empty, S::Ok, {}, "serialdown 0 0", K::SendFile, 0},
        {"serialdump 0x00140000 0x10000 out.bin", S::Ok, {}, "serialdump 0x00140000 65536", K::ReceiveFile, 65536},
        {"serialdump 0 010 out.bin", S::Ok, {}, "serialdump 0 8", K::ReceiveFile, 8},
        {"flash eraseall", S::Ok, {}, "flash eraseall", K::None, 0},
        {"flash   erase 0x001e0000  0x00020000", S::Ok, {}, "flash   erase 0x001e0000  0x00020000", K::None, 0},
        {"usbdown 0 \"a b.bin\"", S::Ok, {}, "usbdown 0 \"a b.bin\"", K::None, 0},
        {"serialdown 0x10000 " + dir.File("missing.bin"), S::FileNotFound, {}, "", K::None, 0},
        {"serialdown 0x10000 " + dir.Path(), S::FileNotFound, {}, "", K::None, 0},
        {"serialdump 0 lots out.bin", S::BadNumber, {}, "", K::None, 0},
        {"netdown 0", S::TooFewWords, {}, "", K::None, 0},
        {"download", S::TooFewWords, {}, "", K::None, 0},
        {"run", S::TooFewWords, {}, "", K::None, 0},
        {"serialdown 0", S::TooFewWords, {}, "", K::None, 0},
        {"serialdump 0 16", S::TooFewWords, {}, "", K::None, 0},
    };
    for (const ParserCase& c : cases) {
        SCOPED_TRACE(c.command);
        const auto words = str2argv(c.command);
        ASSERT_TRUE(words.ok);
        const LoaderCommand command = cmd_parser(words.words, c.command, net);
        EXPECT_EQ(command.status, c.status);
        if (c.status != S::Ok) {
            EXPECT_FALSE(command.message.empty());
            continue;
        }
        EXPECT_EQ(command.preludes, c.preludes);
        EXPECT_EQ(command.text, c.text);
        EXPECT_EQ(command.kind, c.kind);
        EXPECT_EQ(command.size, c.size);
    }
}

TEST(CmdParserTest, FailureMessages)
{
    TempDir dir;
    const NetAddresses net{"10.0.0.1", ""};
    const std::string missing = dir.File("missing.bin");
    EXPECT_EQ(cmd_parser({"serialdown", "0x10000", missing}, "", net).message,
              "file " + missing + " not find, please check.\n");
    EXPECT_EQ(cmd_parser({"serialdump", "0", "x1", "o"}, "", net).message,
              "error: length x1 is not a number, please check.\n");
    EXPECT_EQ(cmd_parser({"netdown", "0"}, "", net).message, "error: netdown needs at least 3 words, please check.\n");
}

TEST(CmdParserTest, ReceiverAddressComesFromSOrFromThePcAddress)
{
    const std::vector<std::string> words{"netdown", "0", "a.bin"};
    EXPECT_EQ(cmd_parser(words, "", {"10.1.2.255", ""}).preludes.front(), "config ip 10.1.2.0");
    EXPECT_EQ(cmd_parser(words, "", {"10.1.2.3", "10.1.2.200"}).preludes.front(), "config ip 10.1.2.200");
}

TEST(CmdParserTest, TftpFilesAreTheFileWordsOfNetworkCommands)
{
    struct Case
    {
        std::vector<std::string> words;
        std::vector<std::string> files;
    };
    const std::vector<Case> cases = {
        {{"netdown", "0", "a.bin"}, {"a.bin"}},
        {{"download", "0", "C:\\x y.bin", "z"}, {"C:\\x y.bin"}},
        {{"run", "app.elf"}, {"app.elf"}},
        {{"boot", "app.elf", "0x8000"}, {"app.elf"}},
        {{"netdown", "0"}, {}},
        {{"serialdown", "0", "a.bin"}, {}},
        {{"flash", "eraseall"}, {}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words.empty() ? "" : c.words.front());
        EXPECT_EQ(TftpFilesOf(c.words), c.files);
        EXPECT_EQ(NeedsPcAddress(c.words), !c.files.empty());
    }
}

} // namespace

} // namespace boottool
