#include "edit/CaseFolder.h"
#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace core {

namespace {

TEST(CaseFolder, FoldsInTheInternalCodePageAndKeepsWhatHasNoLowerCase)
{
    const struct
    {
        const char* codePage;
        std::string name;
        std::string folded;
    } cases[] = {
        {"ISO-8859-1", "", ""},
        {"ISO-8859-1", "ABC xyz 09", "abc xyz 09"},
        // Capital E acute, the multiplication sign, capital thorn, sharp s, y diaeresis.
        {"ISO-8859-1", "\xC9\xD7\xDE\xDF\xFF", "\xE9\xD7\xFE\xDF\xFF"},
        // Cyrillic capital IO and PE; 0x98 is no character of code page 1251.
        {"1251", "\xA8\xCF\x98Z", "\xB8\xEF\x98z"},
        // GBK: the trail byte 0x41 of U+4E04 is no 'A'; the full-width A (A3 C1) has a lower case (A3 E1).
        {"936", "AB\x81\x41\xA3\xC1", "ab\x81\x41\xA3\xE1"},
        {"936", "x\x81", "x\x81"}, // a lead byte without its trail stays
        {"65001", "\xC3\x84\xC3\x96!", "\xC3\xA4\xC3\xB6!"},
        {"65001",
         "A\xFF"
         "B",
         "a\xFF"
         "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " " << testing::PrintToString(c.name));
        const ScopedCodePage codePage(c.codePage);
        ASSERT_TRUE(codePage.Installed());
        CaseFolder folder;
        EXPECT_EQ(folder.Fold(c.name), c.folded);
        EXPECT_EQ(folder.Fold(c.folded), c.folded);
    }
}

TEST(CaseFolder, NamesDifferingOnlyInCaseGetOneKey)
{
    const ScopedCodePage latin1("ISO-8859-1");
    ASSERT_TRUE(latin1.Installed());
    CaseFolder folder;
    EXPECT_EQ(folder.Fold("\xC9"
                          "cole"),
              folder.Fold("\xE9"
                          "COLE"));
    EXPECT_LT(folder.Fold("Zebra"),
              folder.Fold("\xE9"
                          "cole")); // code page order: z before e acute
    EXPECT_LT(folder.Fold("alpha"), folder.Fold("BETA"));
}

} // namespace

} // namespace core
