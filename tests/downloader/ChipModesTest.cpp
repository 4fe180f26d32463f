#include "downloader/core/ChipModes.h"

#include <gtest/gtest.h>

namespace downloader {

TEST(ChipModes, ListsInOrder)
{
    const std::vector<std::string_view> modes(ModeNames().begin(), ModeNames().end());
    EXPECT_EQ(modes,
              (std::vector<std::string_view>{
                  "serialdown", "netdown", "usbdown", "serialdump", "flash erase", "flash eraseall"}));
    std::vector<std::string_view> chips;
    for (const ChipTypeEntry& chip : ChipTypes()) {
        chips.push_back(chip.name);
    }
    EXPECT_EQ(chips, (std::vector<std::string_view>{"kv2201", "kv2202", "kv2205", "dvbc-4410", "other"}));
}

TEST(ChipModes, VisibilityRulesByMode)
{
    struct Case
    {
        int mode;
        bool yaffs, addresses, section, file, browse, editable, needsFile;
        FileChoice choice;
    };
    const std::vector<Case> cases{
        {0, true, false, true, true, true, false, true, FileChoice::OpenDialog},
        {1, true, true, true, true, true, false, true, FileChoice::OpenDialog},
        {2, true, false, true, true, false, true, true, FileChoice::Typed},
        {3, false, false, true, true, true, false, true, FileChoice::SaveDialog},
        {4, false, false, true, false, false, false, false, FileChoice::None},
        {5, false, false, false, false, false, false, false, FileChoice::None},
        {-1, false, false, false, false, false, false, false, FileChoice::None},
        {6, false, false, false, false, false, false, false, FileChoice::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const ModeRules rules = RulesForMode(c.mode);
        EXPECT_EQ(rules.yaffsShown, c.yaffs);
        EXPECT_EQ(rules.addressesShown, c.addresses);
        EXPECT_EQ(rules.sectionShown, c.section);
        EXPECT_EQ(rules.fileShown, c.file);
        EXPECT_EQ(rules.browseShown, c.browse);
        EXPECT_EQ(rules.fileEditable, c.editable);
        EXPECT_EQ(rules.needsFile, c.needsFile);
        EXPECT_EQ(rules.fileChoice, c.choice);
    }
}

} // namespace downloader
