#include "downloader/core/WinCommandLine.h"

#include <gtest/gtest.h>

namespace downloader {

TEST(WinCommandLine, SplitsByTheCRuntimeRules)
{
    using Words = std::vector<std::string>;
    const std::vector<std::pair<std::string, Words>> cases{
        {"/a/boot.exe -m kv4410 -d COM3", {"/a/boot.exe", "-m", "kv4410", "-d", "COM3"}},
        // the file argument keeps its quotes: \" is a literal quote
        {"boot.exe -c serialdown 0x00010000 \\\"C:\\fw\\app.bin\\\"",
         {"boot.exe", "-c", "serialdown", "0x00010000", "\"C:\\fw\\app.bin\""}},
        {"boot.exe \\\"/my fw/a.bin\\\"", {"boot.exe", "\"/my", "fw/a.bin\""}},
        {"boot.exe -b \"/x y/a.boot\"", {"boot.exe", "-b", "/x y/a.boot"}},
        {"\"/my work/boot.exe\" -h", {"/my work/boot.exe", "-h"}},
        {"boot.exe  \t a   b ", {"boot.exe", "a", "b"}},
        {"boot.exe a\\\\\"b c\"", {"boot.exe", "a\\b c"}},
        {"boot.exe a\\\\\\\"b", {"boot.exe", "a\\\"b"}},
        {"boot.exe a\\b\\\\c", {"boot.exe", "a\\b\\\\c"}},
        {"boot.exe \"\"", {"boot.exe", ""}},
        {"boot.exe \"a\"\"b\"", {"boot.exe", "a\"b"}},
        {"boot.exe \"unclosed arg", {"boot.exe", "unclosed arg"}},
        {"boot.exe trailing\\", {"boot.exe", "trailing\\"}},
        {"", {""}},
        {"prog\"ram x\" y", {"program x", "y"}},
    };
    for (const auto& [line, words] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(SplitWindowsCommandLine(line), words);
    }
}

// Whatever an argument holds, quoting it and splitting the line gives it back as one word.
TEST(WinCommandLine, QuotedArgumentsComeBackWhole)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/fw/app.bin", "\"/fw/app.bin\""},
        {"two  blanks", "\"two  blanks\""},
        {"\"C:\\fw\\a b.bin\"", "\"\\\"C:\\fw\\a b.bin\\\"\""},
        {"ends\\", "\"ends\\\\\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"tab\there", "\"tab\there\""},
        {"", "\"\""},
        {"a\\\\b", "\"a\\\\b\""}, // backslashes before no quote stay as they are
    };
    for (const auto& [argument, quoted] : cases) {
        SCOPED_TRACE(argument);
        EXPECT_EQ(QuotedWindowsArgument(argument), quoted);
        EXPECT_EQ(SplitWindowsCommandLine("p " + quoted + " " + WindowsArgument(argument) + " x"),
                  (std::vector<std::string>{"p", argument, argument, "x"}));
    }
    EXPECT_EQ(WindowsArgument("COM3"), "COM3");
    EXPECT_EQ(WindowsArgument("/dev/serial/by-id/usb-FTDI"), "/dev/serial/by-id/usb-FTDI");
    EXPECT_EQ(WindowsArgument("/dev/my port"), "\"/dev/my port\"");
}

} // namespace downloader
