#include "platform/HexDigits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

namespace {

TEST(HexDigits, EveryCharacterHasItsDigitValueOrNone)
{
    const std::string_view lower = "0123456789abcdef";
    const std::string_view upper = "0123456789ABCDEF";
    for (int code = -128; code < 128; ++code) {
        const char c = static_cast<char>(code);
        int expected = -1;
        for (std::size_t value = 0; value < lower.size(); ++value) {
            if (c == lower[value] || c == upper[value]) {
                expected = static_cast<int>(value);
            }
        }
        EXPECT_EQ(HexDigitValue(c), expected) << "character code " << code;
    }
}

TEST(HexDigits, LeadingDigitsAreReadUpToTheFirstOtherCharacterAndSaturate)
{
    struct Case
    {
        std::string_view text;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"g", 0},
        {" 1", 0}, // no skipping of blanks
        {"0x10", 0}, // no prefix: the x ends the digits
        {"0", 0},
        {"7", 7},
        {"a", 10},
        {"F", 15},
        {"10", 0x10},
        {"aBcD", 0xABCD},
        {"12g34", 0x12},
        {"1 2", 1},
        {"00000000000000000001", 1}, // leading zeros never overflow
        {"ffffffff", 0xFFFFFFFFu},
        {"FFFFFFFF0", 0xFFFFFFFFu},
        {"100000000", 0xFFFFFFFFu},
        {"123456789abcdef0123", 0xFFFFFFFFu},
        {"fffffffe", 0xFFFFFFFEu},
        {std::string_view("12\0"
                          "3",
                          4),
         0x12},
        {"\xff", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(LeadingHexValue(c.text), c.value);
    }
    static_assert(LeadingHexValue("1f") == 0x1F);
}

} // namespace

} // namespace platform
