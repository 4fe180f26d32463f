#include "boottool/BootRom.h"
#include "CaptureConsole.h"
#include "ScriptedPort.h"
#include "boottool/BoardLink.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

std::vector<std::uint8_t> Image(std::size_t size)
{
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return image;
}

std::string Le32(std::uint32_t value)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>(value >> shift);
    }
    return out;
}

std::uint32_t Sum(const std::vector<std::uint8_t>& image)
{
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : image) {
        sum += byte;
    }
    return sum;
}

TEST(BootRomTest, HeaderCarriesCountImageBytesSumSizeAndMagic)
{
    struct Case
    {
        std::size_t size;
        std::uint32_t words; // n / 4 with n = min(size, 4096)
    };
    for (const Case c : {Case{6000, 1024}, Case{4096, 1024}, Case{1000, 250}, Case{1003, 250}, Case{12, 3}}) {
        SCOPED_TRACE(c.size);
        const auto image = Image(c.size);
        const auto header = BuildRomHeader(image);
        const std::string expected = std::string("Y").append(Le32(c.words))
            + std::string(image.begin() + 4, image.begin() + static_cast<std::ptrdiff_t>(c.words * 4 - 8))
            + Le32(Sum(image)) + Le32(static_cast<std::uint32_t>(c.size)) + "boot";
        EXPECT_EQ(std::string(header.begin(), header.end()), expected);
        EXPECT_EQ(header.size(), 5 + c.words * 4);
    }
}

TEST(BootRomTest, TinyImageCarriesNoImageBytesInsteadOfReadingOutsideIt)
{
    const auto image = Image(5);
    const auto header = BuildRomHeader(image);
    EXPECT_EQ(std::string(header.begin(), header.end()), "Y" + Le32(1) + Le32(Sum(image)) + Le32(5) + "boot");
}

struct AnswerCase
{
    const char* name;
    std::vector<std::string> board; // chunks after the header
    BootRomResult result;
    std::string printed;
    int imageCopies;
    std::string leftOver; // what the next wait still finds
};

TEST(BootRomTest, AnswersOfTheRom)
{
    const auto image = Image(5000);
    const std::string write = "\nwrite size 5000 byte ... end\n";
    const std::vector<AnswerCase> cases = {
        {"ok", {"GET", "O"}, BootRomResult::Loaded, write + "data transmit ok.\n", 1, ""},
        {"ok with the loader's first text in the same read",
         {"xxGET", "O\r\nloader 1.0\r\nboot> "},
         BootRomResult::Loaded,
         write + "data transmit ok.\n",
         1,
         "\r\nloader 1.0\r\nboot> "},
        {"no answer at all", {"GET", ""}, BootRomResult::Loaded, write, 1, ""},
        {"error once, then ok",
         {"GET", "E", "O"},
         BootRomResult::Loaded,
         write + "data transmit error, try agin ...\n" + write + "data transmit ok.\n",
         2,
         ""},
        {"other answer", {"GET", "Z"}, BootRomResult::Rejected, write + "buf[0]=90\nerror, please try agin.\n", 1, ""},
        {"no GET", {"XXXX", ""}, BootRomResult::RomError, "BootROM error 'XXXX' size=5000, please restart.\n", 0, ""},
        {"line closed", {"GE", "\x01"}, BootRomResult::LinkFailed, "", 0, ""},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort port;
        for (const std::string& chunk : c.board) {
            if (chunk == "\x01") {
                port.QueueClosed();
            } else {
                port.Queue(chunk);
            }
        }
        CaptureConsole console;
        BoardLink link(port, console);
        EXPECT_EQ(SendImageToRom(link, console, image, {50, 50}), c.result);
        EXPECT_EQ(console.OutText(), c.printed);
        const auto header = BuildRomHeader(image);
        std::string expected(header.begin(), header.end());
        for (int copy = 0; copy < c.imageCopies; ++copy) {
            expected.append(image.begin(), image.end());
        }
        EXPECT_EQ(port.Written(), expected);
        std::vector<std::uint8_t> rest;
        // Only the bytes left over matter; with none left the read times out or sees the closed line.
        (void)link.ReadSome(rest, 1000, 0);
        EXPECT_EQ(std::string(rest.begin(), rest.end()), c.leftOver);
    }
}

TEST(BoardLinkTest, EchoShowsEverythingButTheAwaitedText)
{
    ScriptedPort port;
    port.Queue("banner\r\nbo");
    port.Queue("ot> ~sta~data");
    CaptureConsole console;
    BoardLink link(port, console);
    link.SetEcho(true);
    ASSERT_EQ(link.WaitFor("boot> "), LinkStatus::Ok);
    EXPECT_EQ(console.OutText(), "banner\r\n");
    ASSERT_EQ(link.WaitFor("~sta~"), LinkStatus::Ok);
    std::uint8_t data[4];
    ASSERT_EQ(link.ReadExact(data, 4), LinkStatus::Ok);
    EXPECT_EQ(std::string(data, data + 4), "data");
    EXPECT_EQ(link.WaitFor("boot> "), LinkStatus::Failed);
}

TEST(BoardLinkTest, EchoIsShownBeforeBlockingAndNotWhileCleared)
{
    ScriptedPort port;
    port.Queue("noise X ");
    port.Queue("loading...");
    port.Queue("boot> ");
    CaptureConsole console;
    BoardLink link(port, console);
    ASSERT_EQ(link.WaitFor("X"), LinkStatus::Ok);
    EXPECT_EQ(console.OutText(), "");
    link.SetEcho(true);
    ASSERT_EQ(link.WaitFor("boot> "), LinkStatus::Ok);
    EXPECT_EQ(console.OutText(), " loading...");
    EXPECT_EQ(console.OutWrites(), 2); // the first run was shown before the read that brought the prompt
}

} // namespace

} // namespace boottool
