#include "excel/xml/XmlGapText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace core {

namespace {

// Every edit of the gap buffer must give what the same edit of a plain string gives, wherever the
// gap stands, and views must read across the gap.
TEST(XmlGapText, EditsMatchAPlainString)
{
    std::mt19937 rng(7);
    XmlGapText text;
    std::string plain = "<a>0123456789</a>";
    text.Assign(std::string(plain));
    for (int step = 0; step < 2000; ++step) {
        const std::size_t pos = rng() % (plain.size() + 1);
        const std::size_t remove = std::min<std::size_t>(rng() % 4, plain.size() - pos);
        std::string insert(rng() % 6, static_cast<char>('a' + step % 26));
        if (step % 5 == 0) {
            insert.assign(remove, 'S'); // same length: written in place
        }
        text.Replace(pos, remove, insert);
        plain.replace(pos, remove, insert);
        ASSERT_EQ(text.Size(), plain.size());
        const std::size_t viewPos = rng() % (plain.size() + 1);
        const std::size_t viewLen = rng() % (plain.size() - viewPos + 1);
        std::string scratch;
        ASSERT_EQ(text.View(viewPos, viewLen, scratch), std::string_view(plain).substr(viewPos, viewLen));
    }
    EXPECT_EQ(text.Str(), plain);
    EXPECT_EQ(text.Contiguous(), plain);
    EXPECT_THROW(text.Replace(plain.size() + 1, 0, "x"), std::out_of_range);
    EXPECT_THROW(text.Replace(plain.size(), 1, "x"), std::out_of_range);
    EXPECT_EQ(text.Str(), plain);
}

} // namespace

} // namespace core
