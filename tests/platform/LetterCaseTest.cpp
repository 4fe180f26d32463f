#include "platform/LetterCase.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {

namespace {

TEST(LetterCaseTest, LowerFormsByTheUnicodeTables)
{
    struct Case
    {
        char32_t upper;
        char32_t lower;
    };
    const std::vector<Case> cases = {
        {U'A', U'a'},
        {U'z', U'z'},
        {U'1', U'1'},
        {U'\u00C4', U'\u00E4'}, // Latin A with diaeresis
        {U'\u041F', U'\u043F'}, // Cyrillic Pe
        {U'\u03A3', U'\u03C3'}, // Greek Sigma
        {U'\u4E2D', U'\u4E2D'}, // a CJK character has no case
        {U'\U00010400', U'\U00010428'}, // Deseret, beyond the basic plane
        {0xD800, 0xD800}, // a lone surrogate stays as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.upper));
        EXPECT_EQ(static_cast<unsigned>(LowerCase(c.upper)), static_cast<unsigned>(c.lower));
    }
}

} // namespace

} // namespace platform
