#include "boottool/PreFlight.h"
#include "CaptureConsole.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

using testsupport::TempDir;

namespace boottool {

namespace {

TEST(PreFlightTest, EveryFileAndFolderIsCheckedBeforeThePowerOn)
{
    TempDir dir;
    const std::string file = dir.Write("fw.bin", "firmware");
    const std::string missing = dir.File("missing.bin");
    const std::string folder = dir.Path();
    const auto notFound = [](const std::string& name) { return "file " + name + " not find, please check.\n"; };
    const auto noDump = [](const std::string& name) { return "can't create file " + name + ", please check.\n"; };
    struct Case
    {
        std::vector<std::string> commands;
        bool ok;
        std::string printed;
    };
    std::vector<Case> cases = {
        {{"flash eraseall", "flash erase 0x1e0000 0x20000"}, true, ""},
        {{"serialdown 0 " + file, "netdown 0 " + file, "download 0 " + file, "run " + file, "boot " + file}, true, ""},
        {{"serialdump 0 10 " + dir.File("dump.bin")}, true, ""},
        {{"usbdown 0 missing.bin"}, true, ""}, // passed on: the board reads it from its own USB stick
        {{"serialdown 0 \"unclosed"}, true, ""}, // dropped with its warning when its turn comes
        {{"serialdown 0 " + missing}, false, notFound(missing)},
        {{"netdown 0 " + missing}, false, notFound(missing)},
        {{"download 0 " + folder}, false, notFound(folder)},
        {{"run " + missing + " arg"}, false, notFound(missing)},
        {{"serialdown 0 " + file + "/x"}, false, notFound(file + "/x")},
        {{"flash eraseall", "netdown 0 " + missing}, false, notFound(missing)}, // a later command fails now
        {{"serialdump 0 10 " + dir.File("none/dump.bin")}, false, noDump(dir.File("none/dump.bin"))},
        {{"serialdump 0 10 " + folder}, false, noDump(folder)},
        {{"serialdump 0 10 " + file + "/dump.bin"}, false, noDump(file + "/dump.bin")},
        {{"netdown 0"}, false, "error: netdown needs at least 3 words, please check.\n"},
        {{"serialdump 0 lots dump.bin"}, false, "error: length lots is not a number, please check.\n"},
    };
#ifndef _WIN32
    // A named pipe given by mistake is no file to send, and the check does not wait on it.
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    cases.push_back({{"boot " + pipe}, false, notFound(pipe)});
    if (geteuid() != 0) { // the superuser reads every file
        const std::string locked = dir.Write("locked.bin", "secret");
        chmod(locked.c_str(), 0);
        cases.push_back(
            {{"netdown 0 " + locked}, false, "file " + locked + " can't be read (Permission denied), please check.\n"});
    }
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands.back());
        CaptureConsole console;
        EXPECT_EQ(CheckBeforePowerOn(c.commands, console), c.ok);
        EXPECT_EQ(console.OutText(), c.printed);
        EXPECT_EQ(console.ErrText(), "");
    }
}

} // namespace

} // namespace boottool
