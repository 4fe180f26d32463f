// The table of file formats that the editor's commands and corvane-cli share.
#include "formats/FileFormats.h"
#include "access/CAccessIn.h"
#include "access/CAccessOut.h"

#include <gtest/gtest.h>

#include <optional>

namespace core {
namespace {

TEST(FileFormats, EveryIdFindsItsOwnEntry)
{
    for (const FileFormat& format : FileFormats()) {
        SCOPED_TRACE(format.name);
        EXPECT_EQ(&Format(format.id), &format);
        EXPECT_EQ(FormatByName(format.name), &format);
        EXPECT_NE(format.makeReader, nullptr); // every format can be read
        EXPECT_NE(format.makeReader(), nullptr);
    }
}

TEST(FileFormats, OnlyDbAndWorkbooksCanBeWritten)
{
    EXPECT_NE(Format(FormatId::Db).makeWriter, nullptr);
    EXPECT_NE(Format(FormatId::Excel).makeWriter, nullptr);
    EXPECT_EQ(Format(FormatId::UserDb).makeWriter, nullptr);
    EXPECT_EQ(Format(FormatId::UserDb25).makeWriter, nullptr);
    EXPECT_NE(Format(FormatId::Excel).makeWriter(), nullptr);
}

TEST(FileFormats, DialogFiltersFollowTheFormat)
{
    EXPECT_EQ(Format(FormatId::Db).dialogFilter, "Program Db File(*.db)|*.db|All Files (*.*)|*.*||");
    EXPECT_EQ(Format(FormatId::Excel).dialogFilter, "Excel File(*.xls)|*.xls|All Files (*.*)|*.*||");
    EXPECT_EQ(Format(FormatId::UserDb).dialogFilter, "Binary File(*.bin)|*.bin|All Files (*.*)|*.*||");
    EXPECT_EQ(Format(FormatId::UserDb25).dialogFilter, kBinaryFilter);
}

TEST(FileFormats, FormatByPathReadsTheLastExtensionOfTheFileName)
{
    struct Case
    {
        const char* path;
        std::optional<FormatId> format;
    };
    const Case cases[] = {
        {"ch.db", FormatId::Db},
        {"CH.DB", FormatId::Db},
        {"/data/list.Xls", FormatId::Excel},
        {"list.db.xls", FormatId::Excel},
        {"ch.dbxls", std::nullopt}, // the spreadsheet side copy's name is not a workbook extension
        {"image.bin", std::nullopt}, // flash images are chosen by --from only
        {"noextension", std::nullopt},
        {"folder.db/file", std::nullopt}, // a dot in a folder name is no extension
        {"ch.", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const FileFormat* format = FormatByPath(c.path);
        ASSERT_EQ(format != nullptr, c.format.has_value());
        if (format != nullptr) {
            EXPECT_EQ(format->id, *c.format);
        }
    }
}

TEST(FileFormats, FormatByNameTakesTheExactWord)
{
    EXPECT_EQ(FormatByName("userdb25"), &Format(FormatId::UserDb25));
    EXPECT_EQ(FormatByName("xls"), &Format(FormatId::Excel));
    EXPECT_EQ(FormatByName("XLS"), nullptr);
    EXPECT_EQ(FormatByName("excel"), nullptr);
    EXPECT_EQ(FormatByName(""), nullptr);
}

} // namespace
} // namespace core
