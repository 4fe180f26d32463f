#include "boottool/TextMatcher.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

struct MatchCase
{
    const char* text;
    std::string input;
    bool matched;
    std::string unmatched; // what the echo shows
    std::size_t used; // bytes taken up to the match (all when unmatched)
};

TEST(TextMatcherTest, MatchesAcrossBrokenStartsAndLineEnds)
{
    const std::vector<MatchCase> cases = {
        {"boot> ", "boot> ", true, "", 6},
        {"boot> ", "hello\r\nboot> rest", true, "hello\r\n", 13},
        {"boot> ", "bboot> ", true, "b", 7},
        {"boot> ", "bobboot> ", true, "bob", 9},
        {"boot> ", "boot>boot> ", true, "boot>", 11},
        {"~sta~", "~st~sta~", true, "~st", 8},
        {"~sta~", "~~sta~", true, "~", 6},
        {"~fin~", "~fi~~fin~", true, "~fi~", 9},
        {"GET", "XXGGET", true, "XXG", 6},
        {"X", std::string("\0X", 2), true, std::string(1, '\0'), 2},
        {"a\nb", "a\rb", true, "", 3}, // CR read as LF
        {"a\nb", "a\r\nb", false, "a\r\nb", 4}, // CR LF is two line ends
        {"aab", "aaab", true, "a", 4},
        {"abab", "abaabab", true, "aba", 7},
        {"boot> ", "boot>", false, "", 5}, // partial match held back, not shown yet
        {"boot> ", "bootx", false, "bootx", 5},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + c.input);
        TextMatcher matcher(c.text);
        std::string unmatched;
        bool matched = false;
        std::size_t used = 0;
        while (used < c.input.size() && !matched) {
            matched = matcher.Feed(static_cast<std::uint8_t>(c.input[used++]), unmatched);
        }
        EXPECT_EQ(matched, c.matched);
        EXPECT_EQ(unmatched, c.unmatched);
        EXPECT_EQ(used, c.used);
    }
}

} // namespace

} // namespace boottool
