#include "boottool/CommandLine.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

struct CommandLineCase
{
    const char* name;
    std::vector<std::string> args;
    CommandLineAction action;
    std::string machine;
    std::string device;
    std::string pcIp;
    std::string stbIp;
    std::string command;
};

TEST(CommandLineTest, ReadsOptionsUpToTheFirstCommandWord)
{
    using A = CommandLineAction;
    const std::vector<CommandLineCase> cases = {
        {"front-end serialdown",
         {"-m", "kv4410-dvbs-2201", "-d", "COM3", "-c", "serialdown", "0x00010000", "\"C:\\fw\\app.bin\""},
         A::Run,
         "kv4410-dvbs-2201",
         "COM3",
         "",
         "",
         "serialdown 0x00010000 \"C:\\fw\\app.bin\""},
        {"flash erase",
         {"-m", "kv4410-dvbs-2201", "-d", "COM3", "-c", "flash", "erase", "0x001e0000", "0x00020000"},
         A::Run,
         "kv4410-dvbs-2201",
         "COM3",
         "",
         "",
         "flash erase 0x001e0000 0x00020000"},
        {"words after the command are not options",
         {"-c", "flash", "eraseall", "-d", "COM4"},
         A::Run,
         "",
         "",
         "",
         "",
         "flash eraseall -d COM4"},
        {"-b and -m are one option, the last wins",
         {"-m", "kv4410", "-b", "/tmp/loader.bin", "-c", "x"},
         A::Run,
         "/tmp/loader.bin",
         "",
         "",
         "",
         "x"},
        {"-e and -p are one option",
         {"-p", "10.0.0.1", "-e", "10.0.0.7", "-s", "10.0.0.9", "-c", "x"},
         A::Run,
         "",
         "",
         "10.0.0.7",
         "10.0.0.9",
         "x"},
        {"values glued to the letter",
         {"-dCOM7", "-mkv4400", "-cflash", "eraseall"},
         A::Run,
         "kv4400",
         "COM7",
         "",
         "",
         "flash eraseall"},
        {"double dash ends the options", {"-d", "COM1", "--", "-c", "x"}, A::Run, "", "COM1", "", "", " -c x"},
        {"no -c: the words still make the command",
         {"-d", "COM1", "flash", "eraseall"},
         A::Run,
         "",
         "COM1",
         "",
         "",
         " flash eraseall"},
        {"options only: empty command", {"-d", "COM1", "-m", "kv4410"}, A::Run, "kv4410", "COM1", "", "", ""},
        {"a lone dash is a command word", {"-", "x"}, A::Run, "", "", "", "", " - x"},
        {"-v prints the version", {"-v"}, A::ShowVersion, "", "", "", "", ""},
        {"-v wins over later words", {"-d", "COM1", "-v", "-x"}, A::ShowVersion, "", "", "", "", ""},
        {"grouped flags: the first decides", {"-hv"}, A::ShowUsage, "", "", "", "", ""},
        {"-h prints the usage", {"-m", "kv4410", "-h"}, A::ShowUsage, "", "", "", "", ""},
        {"no argument", {}, A::UsageError, "", "", "", "", ""},
        {"unknown option", {"-x"}, A::UsageError, "", "", "", "", ""},
        {"unknown option before -v", {"-q", "-v"}, A::UsageError, "", "", "", "", ""},
        {"option without its value", {"-d", "COM1", "-c"}, A::UsageError, "", "", "", "", ""},
        {"a colon is not an option", {"-:"}, A::UsageError, "", "", "", "", ""},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLineResult result = ParseCommandLine(c.args);
        EXPECT_EQ(result.action, c.action);
        if (c.action == A::UsageError) {
            EXPECT_EQ(result.error.empty(), c.args.empty());
            continue;
        }
        if (c.action != A::Run) {
            continue;
        }
        EXPECT_EQ(result.options.machine, c.machine);
        EXPECT_EQ(result.options.device, c.device);
        EXPECT_EQ(result.options.pcIp, c.pcIp);
        EXPECT_EQ(result.options.stbIp, c.stbIp);
        EXPECT_EQ(result.options.command, c.command);
    }
}

TEST(CommandLineTest, VersionAndUsageTexts)
{
    EXPECT_EQ(VersionText(), "boot version:v2.4  --20140306\n");
    const std::string usage = UsageText();
    EXPECT_EQ(usage.rfind("Usage: boot [-m <machine>] [-b <bootloader file>] [-c <boot command line>] "
                          "[-d <serial device>] [-p <pcip>] [-s <stbip>] [-h] [-v]\n",
                          0),
              0u);
    EXPECT_NE(usage.find("\n  -m machine list:kv4400|kv4410|kv4410-4431|kv4410-dvbs-2201|kv4410-dvbs-2202|"
                         "kv4410-dvbc-4410|kv4410-dvbc-4410e|kv4410-dvbt2-4410|kv4410-dvbs-2205|\n"),
              std::string::npos);
    EXPECT_NE(usage.find("\n                 :serialdump <flash addr|partition name> <length> <file name>\n"),
              std::string::npos);
    EXPECT_NE(usage.find("\n      boot -m kv4410 -c netdown 0 loader-sflash.bin -d /dev/ttyS3 -p 192.168.120.100 "
                         "-s 192.168.120.101\n"),
              std::string::npos);
    // The last line points to the project's README.
    const std::string lastLine = usage.substr(usage.rfind('\n', usage.size() - 2) + 1);
    EXPECT_NE(lastLine.find("README"), std::string::npos);
    EXPECT_EQ(std::count(usage.begin(), usage.end(), '\n'), 12);
}

} // namespace

} // namespace boottool
