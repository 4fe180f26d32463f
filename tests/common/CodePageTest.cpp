#include "common/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace core {

namespace {

// Restores the code page after each test.
class CodePage : public testing::Test
{
private:
    ScopedCodePage m_scope{InternalCodePage().charset};
};

TEST_F(CodePage, NumbersAndNamesResolve)
{
    const struct
    {
        const char* given;
        int number;
        const char* charset;
    } cases[] = {
        {"936", 936, "CP936"},
        {"1251", 1251, "CP1251"},
        {"28591", 28591, "ISO-8859-1"},
        {"gbk", 0, "gbk"},
        {"CP1252", 1252, "CP1252"},
        {"UTF-8", 65001, "UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        CodePageInfo info;
        ASSERT_TRUE(ResolveCodePage(c.given, info));
        EXPECT_EQ(info.number, c.number);
        EXPECT_EQ(info.charset, c.charset);
    }
    CodePageInfo info;
    EXPECT_FALSE(ResolveCodePage("no-such-charset", info));
    EXPECT_FALSE(ResolveCodePage("", info));
    EXPECT_FALSE(SetInternalCodePage("no-such-charset"));
}

TEST_F(CodePage, Latin1KeepsEveryByteThroughUtf8)
{
    ASSERT_TRUE(SetInternalCodePage("28591"));
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    bool lossy = false;
    EXPECT_EQ(Utf8ToInternal(InternalToUtf8(all), &lossy), all);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(InternalToUtf8("Cin\xE9"), "Cin\xC3\xA9");
}

TEST_F(CodePage, UnmappableCharactersAreReplacedAndReported)
{
    ASSERT_TRUE(SetInternalCodePage("28591"));
    bool lossy = false;
    EXPECT_EQ(Utf8ToInternal("A\xCE\xA9"
                             "B",
                             &lossy),
              "A?B"); // Greek omega has no Latin-1 form
    EXPECT_TRUE(lossy);
    ASSERT_TRUE(SetInternalCodePage("1252"));
    EXPECT_EQ(InternalToUtf8("x\x81y"), "x\xEF\xBF\xBDy"); // 0x81 is undefined in 1252
    ASSERT_TRUE(SetInternalCodePage("936"));
    EXPECT_EQ(InternalToUtf8("\xD6\xD0\xCE\xC4"), "\xE4\xB8\xAD\xE6\x96\x87"); // two double-byte characters
    EXPECT_EQ(Utf8ToInternal("\xE4\xB8\xAD"), "\xD6\xD0");
}

TEST_F(CodePage, ScopedCodePagePutsThePreviousOneBack)
{
    ASSERT_TRUE(SetInternalCodePage("1251"));
    {
        const ScopedCodePage outer("936");
        EXPECT_TRUE(outer.Installed());
        EXPECT_EQ(InternalCodePage().number, 936);
        {
            const ScopedCodePage inner("no-such-charset");
            EXPECT_FALSE(inner.Installed());
            EXPECT_EQ(InternalCodePage().number, 936); // an unknown set changes nothing
        }
        EXPECT_EQ(InternalCodePage().number, 936);
    }
    EXPECT_EQ(InternalCodePage().number, 1251);
    EXPECT_EQ(InternalCodePage().charset, CharsetForCodePage(1251));
}

// A worker converts in the code page it was given, whatever another thread sets meanwhile, and
// never changes the other thread's setting.
TEST_F(CodePage, EachThreadHasItsOwnSetting)
{
    ASSERT_TRUE(SetInternalCodePage("1251"));
    const CodePageInfo given = InternalCodePage();
    std::string converted;
    int workerNumber = 0;
    std::thread worker([&] {
        const ScopedCodePage installed(given);
        ASSERT_TRUE(SetInternalCodePage(std::to_string(given.number))); // as a worker may, on its own thread
        workerNumber = InternalCodePage().number;
        converted = InternalToUtf8("\xC4");
        ASSERT_TRUE(SetInternalCodePage("936"));
    });
    worker.join();
    EXPECT_EQ(workerNumber, 1251);
    EXPECT_EQ(converted, "\xD0\x94"); // Cyrillic De
    EXPECT_EQ(InternalCodePage().number, 1251); // the worker's last change stayed its own
    {
        const ScopedCodePage greek("1253");
        std::thread other([&] {
            const ScopedCodePage installed(given);
            converted = InternalToUtf8("\xC4");
        });
        other.join();
        EXPECT_EQ(converted, "\xD0\x94");
        EXPECT_EQ(InternalCodePage().number, 1253);
    }
}

} // namespace

} // namespace core
