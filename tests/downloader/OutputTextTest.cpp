#include "downloader/core/OutputText.h"
#include "downloader/core/ProgressTracker.h"

#include <gtest/gtest.h>

#include <random>

namespace downloader {

namespace {

// The output area as a plain string, counting the edits it receives.
class StringSink final : public IOutputSink
{
public:
    bool IsEmpty() const override { return text.empty(); }
    bool EndsWithLineBreak() const override { return text.back() == '\n'; }
    void Append(std::string_view piece) override
    {
        text += piece;
        ++appends;
    }
    void DeleteLast() override
    {
        text.pop_back();
        ++deletes;
    }

    std::string text;
    int appends = 0;
    int deletes = 0;
};

// The rule applied one character at a time, as the console does it.
std::string NaiveWrite(std::string area, std::string_view text)
{
    for (const char c : text) {
        if (c != '\b') {
            area += c;
        } else if (!area.empty() && area.back() != '\n') {
            area.pop_back();
        }
    }
    return area;
}

} // namespace

TEST(OutputText, BackspaceRule)
{
    struct Case
    {
        std::string before;
        std::vector<std::string> blocks;
        std::string after;
    };
    const std::vector<Case> cases{
        {"", {"50%\b\b\b60%"}, "60%"},
        {"", {"50%", "\b\b\b60%"}, "60%"},
        {"", {"a\n\b\b\bb"}, "a\nb"},
        {"line\n", {"\b\bx"}, "line\nx"},
        {"", {"\b\b", "x"}, "x"},
        {"abc", {"\b\bX"}, "aX"},
        {"ab", {"\b\b\b\b"}, ""},
        {"", {"write size 1 byte .", ". end\n"}, "write size 1 byte .. end\n"},
        {"", {"\b\b\b00%\b\b\b01%\b\b\b100%\n"}, "100%\n"},
        {"x", {"\xE4\xB8\xAD\b"}, "x"}, // one character of three bytes goes as one
        {"", {"\r\n\r\nCompleted.\r\n"}, "\r\n\r\nCompleted.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        StringSink sink;
        sink.text = c.before;
        for (const std::string& block : c.blocks) {
            WriteOutputText(sink, block);
        }
        EXPECT_EQ(sink.text, c.after);
    }
}

TEST(OutputText, MatchesTheCharacterRuleOnRandomBlocks)
{
    std::mt19937 random(12345);
    const std::string alphabet = "ab\n\b\b\b%5";
    for (int round = 0; round < 500; ++round) {
        StringSink sink;
        std::string expected;
        for (int block = 0; block < 4; ++block) {
            std::string text;
            const int length = static_cast<int>(random() % 12);
            for (int i = 0; i < length; ++i) {
                text += alphabet[random() % alphabet.size()];
            }
            WriteOutputText(sink, text);
            expected = NaiveWrite(expected, text);
            ASSERT_EQ(sink.text, expected) << "round " << round;
        }
    }
}

TEST(OutputText, ProgressFloodCostsOneAppendPerBlock)
{
    StringSink sink;
    std::string block = "start\n";
    for (int i = 0; i <= 100; ++i) {
        char unit[8];
        std::snprintf(unit, sizeof unit, "\b\b\b%02d%%", i);
        block += unit;
    }
    WriteOutputText(sink, block);
    EXPECT_EQ(sink.text, "start\n100%");
    EXPECT_EQ(sink.appends, 1);
    EXPECT_EQ(sink.deletes, 0);
}

TEST(OutputText, PressAnyKeyCut)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"done\r\nPress any key to continue . . .", "done\r\n"},
        {"a Press any key to continue . . . b Press any key to continue . . .", "a "},
        {"Press any key to continue . .", "Press any key to continue . ."},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& [block, shown] : cases) {
        EXPECT_EQ(CutAtPressAnyKey(block), shown);
    }
}

TEST(OutputText, ProgressTracker)
{
    struct Case
    {
        std::vector<std::string> blocks;
        int percent;
    };
    const std::vector<Case> cases{
        {{"\b\b\b00%"}, 0},
        {{"\b\b\b00%\b\b\b42%"}, 42},
        {{"\b\b\b99%", "\b\b\b100%"}, 100},
        {{"\b\b\b4", "2%"}, 42},
        {{"\b\b", "\b1", "0", "0%"}, 100},
        {{"50% done"}, -1},
        {{"\b\b\b5%"}, -1},
        {{"\b\b\b999%"}, -1},
        {{"\b\b\b77%", "no progress here"}, 77},
    };
    for (const Case& c : cases) {
        ProgressTracker tracker;
        int last = -1;
        for (const std::string& block : c.blocks) {
            last = tracker.Feed(block);
        }
        EXPECT_EQ(last, c.percent) << c.blocks.front();
    }
}

} // namespace downloader
