#include "CliRun.h"
#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "access/UserDbImages.h"
#include "cli/Commands.h"
#include "db/CProgDb.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using core::CAccessDbIn;
using core::CAccessDbOut;
using core::CProgDb;

using testsupport::ByteBuilder;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace cli {

using namespace core::UserDbImages;

namespace {

// Satellite 5 with transponder 10 (ExtraFlag set) and two programs on it.
Bytes UserDbArea()
{
    return Area({
        {1, {Record({0x00050191, 0, 0, 0}, "Astra", 16)}, 32},
        {2, {Words({0x0005000A, 0x2EE06B6C, 0x0000000C})}, 12},
        {3, {Record({10, 0, 0, 0, 0, 0, 0}, "One", 20), Record({10, 0, 0, 0, 0, 0, 0}, "Two", 20)}, 48},
    });
}

// The same database in the 2.5 layout: three slots of one entry each, records from 0x100.
Bytes UserDb25Area()
{
    ByteBuilder b;
    const auto slot = [&](std::uint32_t type, std::uint32_t offset, std::uint16_t size) {
        b.U32(kMagic).U32(kNone).U32(type).U32(0).U16(0).U16(1).U16(size).U16(0).U16(0).U8(4).U8(1);
        b.U32(offset).U32(kEnd);
    };
    slot(0, 0x100, 28);
    slot(1, 0x120, 16);
    slot(2, 0x140, 48);
    b.PadTo(0x100, 0xFF);
    b.U32(0x00050191).U32(0).U32(0).FixedText("Astra", 16);
    b.PadTo(0x120, 0xFF).U32(0x0005000A).U32(1).U32(12000).U32(27500);
    b.PadTo(0x140, 0xFF).U32(10).Fill(24, 0).FixedText("One", 20);
    return b.Bytes();
}

TEST(CliFlash, ReadsBothUserDatabaseGenerations)
{
    const TempDir dir;
    const std::string image = dir.Write("flash.bin", Image(UserDbArea(), 0x120000));
    const std::string image25 = dir.Write("flash25.bin", Image(UserDb25Area(), 0x1000, 0x2000));
    const std::string one = "1 satellites, 1 transponders, 2 programs\n";
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {{"info", image, "--from", "userdb"}, 0, one, ""},
        {{"info", image, "--from", "userdb", "--address", "110000"}, 0, one, ""},
        {{"info", image, "--from", "userdb", "--address", "0x118000"},
         0,
         "0 satellites, 0 transponders, 0 programs\n",
         ""},
        {{"info", image, "--from", "userdb", "--address", "130000"}, 1, "", "File size error!\n"},
        {{"info", image25, "--from", "userdb25", "--address", "1000"},
         0,
         "1 satellites, 1 transponders, 1 programs\n",
         ""},
        {{"info", image25, "--from", "userdb25", "--address", "0"}, 1, "", "Unknown Error!\n"},
        {{"info", image25, "--from", "userdb25", "--address", "2000"}, 1, "", "File size error!\n"},
        {{"info", dir.File("missing.bin"), "--from", "userdb"}, 1, "", "Unknown Error!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[3] + (c.args.size() > 5 ? " " + c.args[5] : ""));
        const CliResult r = RunCommand(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }

    const CliResult usage = RunCommand({"info", image25, "--from", "userdb25"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err.rfind("corvane-cli: --from userdb25 needs --address\n", 0), 0u) << usage.err;
    const CliResult noExtension = RunCommand({"info", image});
    EXPECT_EQ(noExtension.status, 2);

    const CliResult dump = RunCommand({"dump", image, "--from", "userdb"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_NE(dump.out.find("{\"satellites\":[{\"Id\":5,\"ParentId\":-1,\"Select\":0,\"Name\":\"Astra\","),
              std::string::npos);
    EXPECT_NE(dump.out.find("\"transponders\":[{\"Id\":10,\"ParentId\":5,\"Frequency\":12000,\"Polar\":1,"
                            "\"SymbolRate\":27500,\"ExtraFlag\":1,"),
              std::string::npos)
        << dump.out;
}

TEST(CliFlash, ConvertsAUserDatabaseAndMergesItIntoAnImage)
{
    const TempDir dir;
    const std::string source = dir.Write("flash.bin", Image(UserDbArea(), 0x10000));
    const std::string db = dir.File("user.db");
    ASSERT_EQ(RunCommand({"convert", source, db, "--from", "userdb"}).status, 0);

    ByteBuilder target;
    target.Text("boot").Text("Sg8K").Fill(400, 0x11).Text("Eg8K").Fill(100, 0xFF).Text("rest");
    const std::string image = dir.Write("target.bin", target.View());
    const CliResult merged = RunCommand({"merge", db, image});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out,
              "Merge default program finished!\nThe image before the first merge is kept in " + image + ".bak.\n");
    EXPECT_EQ(ReadFileBytes(image + ".bak"), Bytes(target.View().begin(), target.View().end()));
    const Bytes after = ReadFileBytes(image);
    ASSERT_EQ(after.size(), target.Size());
    CProgDb back;
    const Bytes written = ReadFileBytes(db);
    ASSERT_TRUE(CAccessDbIn().ImportBytes(Bytes(after.begin() + 4, after.begin() + 4 + written.size()), back));
    EXPECT_EQ(back.Progs().Count(), 2u);
    EXPECT_EQ(after[4 + written.size()], 0xFF);

    // A flash image can be merged straight from its user database, too.
    EXPECT_EQ(RunCommand({"merge", source, image, "--from", "userdb"}).status, 0);

    const std::string empty = dir.File("empty.db");
    CProgDb none;
    ASSERT_TRUE(CAccessDbOut().Export(empty, none));
    const std::string plain = dir.Write("plain.bin", std::string_view("no default database"));
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string err;
    } failures[] = {
        {{"merge", empty, image}, 1, "No data to merge!\n"},
        {{"merge", db, plain}, 1, "Invalid file format!\n"},
        {{"merge", db, dir.File("missing.bin")}, 1, "Open file failed!\n"},
        {{"merge", db}, 2, "corvane-cli: merge takes 2 file(s)\n"},
        {{"convert", db, dir.File("x.db"), "--no-backup"}, 2, "corvane-cli: --no-backup is an option of merge only\n"},
    };
    for (const auto& c : failures) {
        SCOPED_TRACE(c.err);
        const CliResult r = RunCommand(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    }
    const std::string_view text = "no default database";
    EXPECT_EQ(ReadFileBytes(plain), Bytes(text.begin(), text.end()));
    EXPECT_FALSE(std::filesystem::exists(plain + ".bak")); // no backup of an image left alone
}

TEST(CliFlash, DamagedImagesImportWhatCanBeReadAndSayWhatWasLeftOut)
{
    const TempDir dir;
    const Bytes whole = Image(UserDbArea(), 0x10000);
    Bytes cut = whole;
    cut.resize(whole.size() - 10); // the image ends inside the last program record
    ByteBuilder patched;
    for (const std::uint8_t byte : whole) {
        patched.U8(byte);
    }
    patched.PatchU32(0x10000 + 4, 0x7FFFFFF0); // the root's next block lies outside the image
    const struct
    {
        const char* name;
        Bytes image;
        std::string out;
        std::string err;
    } cases[] = {
        {"whole image", whole, "1 satellites, 1 transponders, 2 programs\n", ""},
        {"cut short",
         cut,
         "1 satellites, 1 transponders, 1 programs\n",
         "The image looks damaged: 0 tables and 1 records could not be read.\n"},
        {"chain out of the image",
         patched.Bytes(),
         "0 satellites, 0 transponders, 0 programs\n",
         "The image looks damaged: 3 tables and 0 records could not be read.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = RunCommand({"info", dir.Write("flash.bin", c.image), "--from", "userdb"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(CliFlash, NoBackupMergesWithoutKeepingACopy)
{
    const TempDir dir;
    const std::string db = dir.File("user.db");
    ASSERT_EQ(
        RunCommand({"convert", dir.Write("flash.bin", Image(UserDbArea(), 0x10000)), db, "--from", "userdb"}).status,
        0);
    ByteBuilder target;
    target.Text("Sg8K").Fill(400, 0x11).Text("Eg8K");
    const std::string image = dir.Write("target.bin", target.View());
    const CliResult merged = RunCommand({"merge", db, image, "--no-backup"});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, "Merge default program finished!\n");
    EXPECT_FALSE(std::filesystem::exists(image + ".bak"));
    EXPECT_NE(ReadFileBytes(image), Bytes(target.View().begin(), target.View().end()));
}

} // namespace

} // namespace cli
