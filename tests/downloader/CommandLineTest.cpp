#include "downloader/core/CommandLine.h"
#include "downloader/core/ChipModes.h"
#include "downloader/core/WinCommandLine.h"

#include <gtest/gtest.h>

namespace downloader {

namespace {

const SegmentInfo kKey{"Key", 0x001E0000, 0x00020000};
const SegmentInfo kMainCode{"Main Code", 0x00010000, 0x00120000};

DownloadRequest Request(std::string chip, int mode)
{
    DownloadRequest request;
    request.chipType = std::move(chip);
    request.bootFile = "kv4410.boot";
    request.port = "COM3";
    request.modeIndex = mode;
    request.modeText = std::string(ModeNames()[static_cast<std::size_t>(mode)]);
    request.segment = kKey;
    request.file = "C:\\fw\\app.bin";
    request.pcIp = "192.168.1.10";
    request.stbIp = "192.168.1.11";
    return request;
}

} // namespace

// Every chip type with every mode: tool part, then -d, -c and the mode's arguments.
TEST(CommandLine, EveryChipTypeAndMode)
{
    const std::string base = "/home/eng/work/";
    const std::vector<std::pair<std::string, std::string>> chips{
        {"kv2201", "boot.exe -m kv4410-dvbs-2201"},
        {"kv2202", "boot.exe -m kv4410-dvbs-2202"},
        {"kv2205", "boot.exe -m kv4410-dvbs-2205"},
        {"dvbc-4410", "boot.exe -m kv4410-dvbc-4410"},
        {"other", "boot.exe -b \"/home/eng/work/boot_file/kv4410.boot\""},
    };
    const std::vector<std::string> tails{
        " -d COM3 -c serialdown 0x001e0000 \"\\\"C:\\fw\\app.bin\\\"\"",
        " -d COM3 -c netdown -p 192.168.1.10 -s 192.168.1.11 0x001e0000 \"\\\"C:\\fw\\app.bin\\\"\"",
        " -d COM3 -c usbdown 0x001e0000 \"\\\"C:\\fw\\app.bin\\\"\"",
        " -d COM3 -c serialdump 0x001e0000 0x00020000 \"\\\"C:\\fw\\app.bin\\\"\"",
        " -d COM3 -c flash erase 0x001e0000 0x00020000",
        " -d COM3 -c flash eraseall",
    };
    ASSERT_EQ(chips.size(), ChipTypes().size());
    ASSERT_EQ(tails.size(), ModeNames().size());
    for (std::size_t chip = 0; chip < chips.size(); ++chip) {
        EXPECT_EQ(ChipTypes()[chip].name, chips[chip].first);
        for (int mode = 0; mode < static_cast<int>(tails.size()); ++mode) {
            SCOPED_TRACE(chips[chip].first + " mode " + std::to_string(mode));
            const DownloadRequest request = Request(chips[chip].first, mode);
            const std::string expected = chips[chip].second + tails[static_cast<std::size_t>(mode)];
            EXPECT_EQ(BuildCommandText(request, base), expected);
            EXPECT_EQ(EchoText(expected), "\r\n" + expected + "\r\n\r\n");
            EXPECT_EQ(FullCommandLine(base, expected), base + "boot_file/" + expected);
        }
    }
}

TEST(CommandLine, YaffsAndAddressFormatting)
{
    struct Case
    {
        int mode;
        SegmentInfo segment;
        bool yaffs;
        std::string expected;
    };
    // Built outside the table: GCC 12 at -O2 takes a segment written inside the table's braces for
    // uninitialised when the table is copied (a false -Wmaybe-uninitialized).
    const SegmentInfo highStart{"X", 0xABCDEF12, 0};
    const SegmentInfo allOnes{"Y", 0xFFFFFFFF, 0xFFFFFFFF};
    const std::vector<Case> cases{
        {0,
         kMainCode,
         false,
         "boot.exe -m kv4410-dvbs-2201 -d COM3 -c serialdown 0x00010000 \"\\\"C:\\fw\\app.bin\\\"\""},
        {0,
         kMainCode,
         true,
         "boot.exe -m kv4410-dvbs-2201 -d COM3 -c serialdown 0x00010000 \"\\\"C:\\fw\\app.bin\\\"\" yaffs"},
        {1,
         highStart,
         true,
         "boot.exe -m kv4410-dvbs-2201 -d COM3 -c netdown -p 192.168.1.10 -s 192.168.1.11 0xabcdef12 "
         "\"\\\"C:\\fw\\app.bin\\\"\" yaffs"},
        {2,
         kMainCode,
         true,
         "boot.exe -m kv4410-dvbs-2201 -d COM3 -c usbdown 0x00010000 \"\\\"C:\\fw\\app.bin\\\"\" yaffs"},
        // yaffs is never part of a dump or erase even when the box stayed checked
        {3,
         allOnes,
         true,
         "boot.exe -m kv4410-dvbs-2201 -d COM3 -c serialdump 0xffffffff 0xffffffff \"\\\"C:\\fw\\app.bin\\\"\""},
        {4, kKey, true, "boot.exe -m kv4410-dvbs-2201 -d COM3 -c flash erase 0x001e0000 0x00020000"},
        {5, kKey, true, "boot.exe -m kv4410-dvbs-2201 -d COM3 -c flash eraseall"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        DownloadRequest request = Request("kv2201", c.mode);
        request.segment = c.segment;
        request.yaffs = c.yaffs;
        EXPECT_EQ(BuildCommandText(request, "/b/"), c.expected);
    }
}

TEST(CommandLine, DevicePathPortAndEraseAllWithoutSegment)
{
    DownloadRequest request = Request("dvbc-4410", 5);
    request.port = "/dev/ttyUSB0";
    request.segment.reset();
    request.file.clear();
    EXPECT_EQ(ValidateRequest(request), "");
    EXPECT_EQ(BuildCommandText(request, "/b/"), "boot.exe -m kv4410-dvbc-4410 -d /dev/ttyUSB0 -c flash eraseall");
}

TEST(CommandLine, FullCommandLineQuotesAProgramPathWithBlanks)
{
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"/a/", "boot.exe -h", "/a/boot_file/boot.exe -h"},
        {"/my work/", "boot.exe -h", "\"/my work/boot_file/boot.exe\" -h"},
        {"/a/", "boot.exe", "/a/boot_file/boot.exe"},
        {"/a/", "\"boot.exe\" -v", "/a/boot_file/boot.exe -v"},
        {"/a/", "", "/a/boot_file/"},
    };
    for (const auto& [base, text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FullCommandLine(base, text), expected);
    }
}

TEST(CommandLine, ValidationInOrder)
{
    struct Case
    {
        std::string chip;
        std::string bootFile;
        int mode;
        std::string file;
        bool hasSegment;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"other", "", 0, "", true, "Please choose to the bin first!"},
        {"other", "", 5, "", true, "Please choose to the bin first!"},
        {"other", "a.boot", 0, "", true, "Please choose to download files!"},
        {"kv2201", "", 0, "", true, "Please choose to download files!"},
        {"kv2201", "", 1, "", true, "Please choose to download files!"},
        {"kv2201", "", 2, "", true, "Please input download files!"},
        {"kv2201", "", 3, "", true, "Please choose to dump files!"},
        {"kv2201", "", 4, "", true, ""},
        {"kv2201", "", 5, "", true, ""},
        {"kv2201", "", 0, "f.bin", true, ""},
        // no segment to take the address from: refused instead of reading outside the table
        {"kv2201", "", 0, "f.bin", false, "Please choose a section first!"},
        {"kv2201", "", 3, "f.bin", false, "Please choose a section first!"},
        {"kv2201", "", 4, "", false, "Please choose a section first!"},
        {"kv2201", "", 5, "", false, ""},
        {"kv2201", "", 0, "", false, "Please choose to download files!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chip + " mode " + std::to_string(c.mode) + " file '" + c.file + "'");
        DownloadRequest request = Request(c.chip, c.mode);
        request.bootFile = c.bootFile;
        request.file = c.file;
        if (!c.hasSegment) {
            request.segment.reset();
        }
        EXPECT_EQ(ValidateRequest(request), c.expected);
    }
}

// In the network mode both addresses must be four dotted numbers 0-255; an empty STB IP leaves -s out, so
// the tool derives the receiver's address, and no word moves into another option's place.
TEST(CommandLine, NetworkAddressesAndTheirChecks)
{
    struct Case
    {
        std::string pcIp;
        std::string stbIp;
        std::string problem;
        std::string addresses; // of the command text, when it may run
    };
    const std::vector<Case> cases{
        {"192.168.1.10", "192.168.1.11", "", " -p 192.168.1.10 -s 192.168.1.11"},
        {"192.168.1.10", "", "", " -p 192.168.1.10"},
        {"192.168.001.010", " 10.0.0.6 ", "", " -p 192.168.1.10 -s 10.0.0.6"},
        {"", "", "Please input a valid PC IP!", ""},
        {"10.1", "10.0.0.6", "Please input a valid PC IP!", ""},
        {"192.168.1.10", "0x00010000", "Please input a valid STB IP!", ""},
        {"192.168.1.10", "192.168.1.300", "Please input a valid STB IP!", ""},
        {"192.168.1.10", "board", "Please input a valid STB IP!", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pcIp + " / " + c.stbIp);
        DownloadRequest request = Request("kv2201", static_cast<int>(DownloadMode::NetDown));
        request.pcIp = c.pcIp;
        request.stbIp = c.stbIp;
        EXPECT_EQ(ValidateRequest(request), c.problem);
        if (c.problem.empty()) {
            EXPECT_EQ(BuildCommandText(request, "/b/"),
                      "boot.exe -m kv4410-dvbs-2201 -d COM3 -c netdown" + c.addresses
                          + " 0x001e0000 \"\\\"C:\\fw\\app.bin\\\"\"");
        }
        // The other modes have no address fields to check.
        request.modeIndex = static_cast<int>(DownloadMode::SerialDown);
        EXPECT_EQ(ValidateRequest(request), "");
    }
    DownloadRequest noPort = Request("kv2201", static_cast<int>(DownloadMode::FlashEraseAll));
    noPort.port.clear();
    EXPECT_EQ(ValidateRequest(noPort), "Please choose a serial port!");
}

// The words the user chose reach the tool one each, whatever they hold: the file word with the quotes
// the tool's own splitting needs, the port and the boot file as they are.
TEST(CommandLine, EveryNameReachesTheToolAsOneWord)
{
    const std::vector<std::pair<std::string, std::string>> files{
        {"/fw/app.bin", "\"/fw/app.bin\""},
        {"/my  fw/two  blanks.bin", "\"/my  fw/two  blanks.bin\""},
        {"/a\"quote.bin", "\"/a\\\"quote.bin\""},
        {"/semi;colon.bin", "\"/semi;colon.bin\""},
        {"/tab\tname.bin", "\"/tab\tname.bin\""},
        {"C:\\fw\\app.bin", "\"C:\\fw\\app.bin\""},
        // a name ending with a backslash cannot stand before a closing quote: escaped instead
        {"/x y/odd\\", "/x\\ y/odd\\\\"},
    };
    for (const auto& [file, word] : files) {
        SCOPED_TRACE(file);
        DownloadRequest request = Request("other", static_cast<int>(DownloadMode::SerialDown));
        request.file = file;
        request.port = "/dev/my port";
        const std::string text = BuildCommandText(request, "/my  work/");
        EXPECT_EQ(SplitWindowsCommandLine(FullCommandLine("/my  work/", text)),
                  (std::vector<std::string>{"/my  work/boot_file/boot.exe",
                                            "-b",
                                            "/my  work/boot_file/kv4410.boot",
                                            "-d",
                                            "/dev/my port",
                                            "-c",
                                            "serialdown",
                                            "0x001e0000",
                                            word}));
    }
}

} // namespace downloader
