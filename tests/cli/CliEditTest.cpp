#include "CliRun.h"
#include "access/CAccessDbOut.h"
#include "access/CAccessIn.h"
#include "cli/Commands.h"
#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "edit/CaseFolder.h"
#include "formats/FileFormats.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using core::CAccessDbOut;
using core::CaseFolder;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;
using core::ScopedCodePage;

using testsupport::TempDir;

namespace cli {

namespace {

// Reads a .db or .xls file as the CLI does.
CProgDb& Read(const std::string& path, CProgDb& db)
{
    const core::FileFormat* format = core::FormatByPath(path);
    EXPECT_TRUE(format != nullptr && format->makeReader()->Import(path, db)) << path;
    return db;
}

// The programs as (name, ServiceId), in list order.
std::vector<std::pair<std::string, std::uint32_t>> Programs(const CProgDb& db)
{
    std::vector<std::pair<std::string, std::uint32_t>> programs;
    for (const CProgNode& prog : db.Progs()) {
        programs.emplace_back(prog.ProgName(), prog.ServiceId());
    }
    return programs;
}

// One satellite with two transponders; programs (transponder index, ServiceId, name).
std::string WriteDb(const TempDir& dir,
                    const std::string& name,
                    const std::vector<std::tuple<int, std::uint32_t, std::string>>& programs)
{
    CProgDb db;
    auto sat = std::make_unique<CSatNode>();
    sat->SetName("Astra");
    const std::int32_t satId = db.Sats().Add(std::move(sat));
    for (const std::uint32_t frequency : {11000u, 12000u}) {
        auto tp = std::make_unique<CTpNode>(InvalidId, satId);
        tp->SetFrequency(frequency);
        db.Tps().Add(std::move(tp));
    }
    for (const auto& [tp, serviceId, progName] : programs) {
        auto prog = std::make_unique<CProgNode>(InvalidId, tp);
        prog->SetServiceId(serviceId);
        prog->SetProgName(progName);
        db.Progs().Add(std::move(prog));
    }
    const std::string path = dir.File(name);
    EXPECT_TRUE(CAccessDbOut().Export(path, db));
    return path;
}

class CliEdit : public testing::Test
{
protected:
    const ScopedCodePage m_latin1{"ISO-8859-1"};
    const TempDir m_dir;
};

TEST_F(CliEdit, SortsTheWholeProgramListByAColumn)
{
    ASSERT_TRUE(m_latin1.Installed());
    const struct
    {
        const char* sort;
        const char* line;
    } cases[] = {
        {"ServiceId", "sorted 302 programs by ServiceId\n"},
        {"ServiceId:desc", "sorted 302 programs by ServiceId, descending\n"},
        {"ProgName", "sorted 302 programs by ProgName\n"},
        {"ProgName:asc", "sorted 302 programs by ProgName\n"},
        {"TpID:desc", "sorted 302 programs by TpID, descending\n"},
    };
    CProgDb sample;
    Read(SamplePath(), sample);
    auto expected = Programs(sample);
    std::sort(expected.begin(), expected.end());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sort);
        const std::string out = m_dir.File("sorted.db");
        const CliResult r = RunCommand({"edit", SamplePath(), out, "--sort", c.sort});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.line);
        EXPECT_EQ(r.err, "");
        CProgDb db;
        auto programs = Programs(Read(out, db));
        const std::string sort = c.sort;
        CaseFolder folder;
        const auto before = [&](const CProgNode& a, const CProgNode& b) {
            if (sort.starts_with("ServiceId")) {
                return a.ServiceId() < b.ServiceId();
            }
            if (sort.starts_with("TpID")) {
                return a.ParentId() < b.ParentId();
            }
            return folder.Fold(a.ProgName()) < folder.Fold(b.ProgName());
        };
        const CProgNode* previous = nullptr;
        for (const CProgNode& prog : db.Progs()) {
            if (previous != nullptr) {
                EXPECT_FALSE(sort.ends_with("desc") ? before(*previous, prog) : before(prog, *previous))
                    << previous->ProgName() << " / " << prog.ProgName();
            }
            previous = &prog;
        }
        std::sort(programs.begin(), programs.end());
        EXPECT_EQ(programs, expected); // the same programs, only their order changed
    }
}

TEST_F(CliEdit, RemovesDuplicatesAndSaysHowMany)
{
    ASSERT_TRUE(m_latin1.Installed());
    const struct
    {
        std::vector<std::tuple<int, std::uint32_t, std::string>> programs;
        const char* line;
        std::vector<std::pair<std::string, std::uint32_t>> kept;
    } cases[] = {
        {{{0, 1, "a"}, {0, 1, "b"}, {1, 1, "c"}, {0, 2, "d"}, {0, 1, "e"}},
         "removed 2 duplicate programs\n",
         {{"a", 1}, {"c", 1}, {"d", 2}}},
        {{{0, 1, "a"}, {0, 1, "b"}}, "removed 1 duplicate program\n", {{"a", 1}}},
        {{{0, 1, "a"}, {1, 1, "b"}}, "removed 0 duplicate programs\n", {{"a", 1}, {"b", 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string in = WriteDb(m_dir, "dups.db", c.programs);
        const std::string out = m_dir.File("deduped.db");
        const CliResult r = RunCommand({"edit", in, out, "--dedupe"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.line);
        CProgDb db;
        EXPECT_EQ(Programs(Read(out, db)), c.kept);
    }
}

TEST_F(CliEdit, OrdersLikeAReferenceDatabaseOrWorkbook)
{
    ASSERT_TRUE(m_latin1.Installed());
    // The sample with its programs reversed, as a .db and as a workbook (which lists them by
    // satellite, one sheet each).
    CProgDb reversed;
    Read(SamplePath(), reversed);
    std::vector<std::int32_t> ids;
    for (const CProgNode& prog : reversed.Progs()) {
        ids.push_back(prog.Id());
    }
    for (const std::int32_t id : ids) {
        ASSERT_TRUE(reversed.Progs().Move(id, reversed.Progs().begin()->Id()));
    }
    const std::string refDb = m_dir.File("ref.db");
    ASSERT_TRUE(CAccessDbOut().Export(refDb, reversed));
    const std::string refXls = m_dir.File("ref.xls");
    ASSERT_EQ(RunCommand({"convert", refDb, refXls}).status, 0);
    for (const std::string& ref : {refDb, refXls}) {
        SCOPED_TRACE(ref);
        const std::string out = m_dir.File("ordered.db");
        const CliResult r = RunCommand({"edit", SamplePath(), out, "--order-like", ref});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "matched 302 of 302 programs\n");
        CProgDb db;
        CProgDb reference;
        EXPECT_EQ(Programs(Read(out, db)), Programs(Read(ref, reference)));
    }
    // A reference of other programs matches only the ones they share.
    const std::string few = WriteDb(m_dir, "few.db", {{0, 1, "x"}});
    const CliResult r = RunCommand({"edit", few, m_dir.File("o.db"), "--order-like", refDb});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "matched 0 of 1 program\n");
}

TEST_F(CliEdit, AppliesTheOperationsInTheOrderGivenAndWritesAWorkbookToo)
{
    ASSERT_TRUE(m_latin1.Installed());
    const std::string in = WriteDb(m_dir, "in.db", {{0, 3, "c"}, {0, 1, "a"}, {0, 3, "dup"}, {1, 2, "b"}, {1, 1, "z"}});
    const std::string ref = WriteDb(m_dir, "ref.db", {{1, 2, "b"}, {0, 3, "c"}});
    const std::string outDb = m_dir.File("out.db");
    CliResult r = RunCommand({"edit", in, outDb, "--order-like", ref, "--sort", "ServiceId", "--dedupe"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "matched 2 of 5 programs\nsorted 5 programs by ServiceId\nremoved 1 duplicate program\n");
    CProgDb db;
    EXPECT_EQ(Programs(Read(outDb, db)),
              (std::vector<std::pair<std::string, std::uint32_t>>{{"a", 1}, {"z", 1}, {"b", 2}, {"c", 3}}));

    const std::string outXls = m_dir.File("out.xls");
    r = RunCommand({"edit", in, outXls, "--sort", "ServiceId", "--order-like", ref});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sorted 5 programs by ServiceId\nmatched 2 of 5 programs\n");
    const CliResult dump = RunCommand({"dump", outXls});
    ASSERT_EQ(dump.status, 0) << dump.err;
    const std::vector<std::string> names{"\"b\"", "\"c\"", "\"a\"", "\"z\"", "\"dup\""};
    std::size_t at = 0;
    for (const std::string& name : names) {
        const std::size_t found = dump.out.find("\"ProgName\":" + name, at);
        ASSERT_NE(found, std::string::npos) << name << " in order in " << dump.out;
        at = found;
    }
}

TEST_F(CliEdit, FailuresAndUsageErrorsWriteNothing)
{
    const std::string in = WriteDb(m_dir, "in.db", {{0, 1, "a"}});
    const std::string out = m_dir.File("out.db");
    const std::string notDb = m_dir.Write("bad.db", std::string_view("Xg8K000000000000Eg8K"));
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    } cases[] = {
        {{"edit", in, out}, 2, "corvane-cli: edit needs at least one of --dedupe, --sort, --order-like\nusage:"},
        {{"edit", in, "--dedupe"}, 2, "corvane-cli: edit takes 2 file(s)"},
        {{"edit", in, out, "--sort"}, 2, "corvane-cli: --sort needs a value"},
        {{"edit", in, out, "--order-like"}, 2, "corvane-cli: --order-like needs a value"},
        {{"edit", in, out, "--sort", "Nonsense"}, 2, "corvane-cli: unknown field: Nonsense"},
        {{"edit", in, out, "--sort", "SatID"}, 2, "corvane-cli: unknown field: SatID"},
        {{"edit", in, out, "--sort", "ServiceId:down"}, 2, "corvane-cli: --sort takes FIELD or FIELD:desc"},
        {{"edit", in, out, "--dedupe", "--order-like", m_dir.File("ref.txt")},
         2,
         "corvane-cli: cannot tell the format of"},
        {{"edit", in, m_dir.File("out.txt"), "--dedupe"}, 2, "corvane-cli: cannot tell the output format"},
        {{"convert", in, out, "--dedupe"}, 2, "corvane-cli: --dedupe is an option of edit only"},
        {{"info", in, "--sort", "ProgName"}, 2, "corvane-cli: --sort is an option of edit only"},
        {{"edit", m_dir.File("missing.db"), out, "--dedupe"}, 1, "Open file failed!\n"},
        {{"edit", notDb, out, "--dedupe"}, 1, "File format error!\n"},
        {{"edit", in, out, "--dedupe", "--order-like", m_dir.File("missing.db")}, 1, "Open file failed!\n"},
        {{"edit", in, out, "--sort", "ProgName", "--order-like", notDb}, 1, "File format error!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliResult r = RunCommand(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace

} // namespace cli
