#include "CliRun.h"
#include "access/CAccessDbOut.h"
#include "cli/Commands.h"
#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using core::CAccessDbOut;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;
using core::ScopedCodePage;

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace cli {

namespace {

// One satellite, one transponder, one program with a Latin-1 name.
std::string WriteSmallDb(const TempDir& dir)
{
    CProgDb db;
    auto sat = std::make_unique<CSatNode>();
    sat->SetName("Astra 1");
    sat->SetLongitude(192);
    sat->SetLocalFre1(3);
    sat->SetLocalFre2(5);
    const std::int32_t satId = db.Sats().Add(std::move(sat));
    auto tp = std::make_unique<CTpNode>(InvalidId, satId);
    tp->SetFrequency(11494);
    tp->SetSymbolRate(22000);
    tp->SetPolar(1);
    const std::int32_t tpId = db.Tps().Add(std::move(tp));
    auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
    prog->SetProgName("Cin\xE9 \"1\"");
    prog->SetServiceId(1234);
    prog->SetVPID(0x1FFF);
    db.Progs().Add(std::move(prog));
    const std::string path = dir.File("small.db");
    EXPECT_TRUE(CAccessDbOut().Export(path, db));
    return path;
}

TEST(Cli, DumpShowsEveryFieldInOrder)
{
    const ScopedCodePage latin1("ISO-8859-1");
    ASSERT_TRUE(latin1.Installed());
    const TempDir dir;
    const CliResult r = RunCommand({"dump", WriteSmallDb(dir)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"satellites\":[{\"Id\":0,\"ParentId\":-1,\"Select\":0,\"Name\":\"Astra 1\","
                         "\"NameHex\":\"41737472612031\",\"Longitude\":192,\"LocalFre1\":3,\"LocalFre2\":5,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"FirstTpIndex\":0,\"TpCount\":1,\"Record\":\"41737472612031000000000000000000"
                         "00000000c0600a0000000200\"}]"),
              std::string::npos)
        << r.out;
    // 11494 | 1 << 14 | 22000 << 15 = 0x2af86ce6, little-endian as stored.
    EXPECT_NE(r.out.find("\"transponders\":[{\"Id\":0,\"ParentId\":0,\"Frequency\":11494,\"Polar\":1,"
                         "\"SymbolRate\":22000,\"ExtraFlag\":0,\"Record\":\"e66cf82a\"}]"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"programs\":[{\"Id\":0,\"ParentId\":0,\"ProgName\":\"Cin\xC3\xA9 \\\"1\\\"\","
                         "\"ProgNameHex\":\"43696ee920223122\",\"SatRef\":0,\"TpRef\":0,\"Track\":0,\"FavType\":0,"
                         "\"ServiceId\":1234,\"AvType\":0,\"Scramble\":0,\"Lock\":0,\"VPID\":8191,\"APID\":0,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"Hide\":0,\"Skip\":0,\"TunerSel\":0,\"Record\":\"00000000"), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');
}

TEST(Cli, InfoAndConvertOfTheSample)
{
    const TempDir dir;
    const std::string sample = SamplePath();
    const CliResult info = RunCommand({"info", sample});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "5 satellites, 45 transponders, 302 programs\n");
    const std::string copy = dir.File("copy.DB");
    EXPECT_EQ(RunCommand({"convert", sample, copy}).status, 0);
    EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(sample));
}

TEST(Cli, VersionIsTheProjectsVersion)
{
    const CliResult r = RunCommand({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "corvane-cli " CORVANE_VERSION "\n");
    EXPECT_TRUE(r.err.empty());
    // Only on its own: beside a command it is an unknown option.
    EXPECT_EQ(RunCommand({"info", "a.db", "--version"}).status, 2);
}

TEST(Cli, FailuresAndUsageErrors)
{
    const TempDir dir;
    const std::string tooShort = dir.Write("short.db", std::string_view("Sg8K"));
    const std::string notDb = dir.Write("bad.bin", std::string_view("Xg8K000000000000Eg8K"));
    const std::string good = WriteSmallDb(dir);
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    } cases[] = {
        {{"dump", tooShort}, 1, "File size error!\n"},
        {{"info", notDb, "--from", "db"}, 1, "File format error!\n"},
        {{"dump", dir.File("missing.db")}, 1, "Open file failed!\n"},
        {{"convert", good, dir.File("no/folder/x.db")}, 1, "Open file failed!\n"},
        {{}, 2, "corvane-cli: no command given\nusage:"},
        {{"frobnicate", good}, 2, "corvane-cli: unknown command: frobnicate"},
        {{"dump"}, 2, "corvane-cli: dump takes 1 file(s)"},
        {{"dump", good, "--from"}, 2, "corvane-cli: --from needs a value"},
        {{"dump", good, "--from", "zip"}, 2, "corvane-cli: unknown format: zip"},
        {{"dump", notDb}, 2, "corvane-cli: cannot tell the format of"},
        {{"dump", good, "--address", "12g"}, 2, "corvane-cli: --address takes a hexadecimal number"},
        {{"dump", good, "--address", "100000000"}, 2, "corvane-cli: --address takes"},
        {{"dump", good, "--verbose"}, 2, "corvane-cli: unknown option: --verbose"},
        {{"convert", good, dir.File("out.txt")}, 2, "corvane-cli: cannot tell the output format"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
        const CliResult r = RunCommand(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

} // namespace

} // namespace cli
