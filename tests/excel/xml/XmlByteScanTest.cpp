#include "excel/xml/XmlByteScan.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace core {

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::size_t SlowFindFirstOf(std::string_view text, std::size_t from, std::string_view bytes)
{
    for (std::size_t pos = from; pos < text.size(); ++pos) {
        if (bytes.find(text[pos]) != npos) {
            return pos;
        }
    }
    return npos;
}

std::size_t SlowTagEnd(std::string_view text, std::size_t from)
{
    for (std::size_t pos = from; pos < text.size(); ++pos) {
        if (text[pos] == '>') {
            return pos;
        }
        if (text[pos] == '"' || text[pos] == '\'') {
            pos = text.find(text[pos], pos + 1);
            if (pos == npos) {
                return npos;
            }
        }
    }
    return npos;
}

bool SlowPlainAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r' || c == '&') {
            return false;
        }
    }
    return true;
}

// Texts of the bytes the word-at-a-time searches could confuse: the searched bytes, their
// neighbours, zero, bytes with the high bit set, and the high-bit forms of the searched bytes.
std::string RandomText(std::mt19937& random)
{
    static constexpr char kBytes[] = "><\"'&\r\n=?!0aZ \x00\x01\x7f\x80\xbe\xa2\xa7\xbc\xa6\x8d\xff\x3d\x3f\x21";
    constexpr std::string_view kAlphabet(kBytes, sizeof(kBytes) - 1); // the zero byte included
    std::uniform_int_distribution<std::size_t> length(0, 40);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string text(length(random), ' ');
    for (char& c : text) {
        c = kAlphabet[pick(random)];
    }
    return text;
}

TEST(XmlByteScan, SearchesAgreeWithByteByByteOnesEverywhere)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomText(random);
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            ASSERT_EQ(FindFirstOfThree(text, from, '>', '"', '\''), SlowFindFirstOf(text, from, ">\"'")) << round;
            ASSERT_EQ(FindFirstOfThree(text, from, '\x80', '\0', '&'),
                      SlowFindFirstOf(text, from, std::string_view("\x80\0&", 3)))
                << round;
            ASSERT_EQ(FindByteNear(text, from, '<'), SlowFindFirstOf(text, from, "<")) << round;
            ASSERT_EQ(FindByteNear(text, from, '\xbe'), SlowFindFirstOf(text, from, "\xbe")) << round;
            ASSERT_EQ(QuotedTagEnd(text, from), SlowTagEnd(text, from)) << round;
        }
        ASSERT_EQ(IsPlainAscii(text), SlowPlainAscii(text)) << round;
        ASSERT_EQ(SameShortBytes(text, text.substr(0, text.size() / 2)), true);
    }
}

TEST(XmlByteScan, HitsAtEveryOffsetOfAWord)
{
    // One hit at each place of the first three words, and a miss, over texts of every length to 24.
    for (std::size_t size = 0; size <= 24; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            std::string text(size, 'a');
            std::string ascii(size, 'a');
            if (at < size) {
                text[at] = '>';
                ascii[at] = '\xc3';
            }
            const std::size_t expected = at < size ? at : npos;
            EXPECT_EQ(FindFirstOfThree(text, 0, '>', '"', '\''), expected) << size << " " << at;
            EXPECT_EQ(FindByteNear(text, 0, '>'), expected) << size << " " << at;
            EXPECT_EQ(QuotedTagEnd(text, 0), expected) << size << " " << at;
            EXPECT_EQ(IsPlainAscii(ascii), at == size) << size << " " << at;
        }
    }
}

TEST(XmlByteScan, TagEndsStepOverQuotedValues)
{
    struct Case
    {
        std::string_view tag;
        std::size_t end;
    };
    const Case cases[] = {
        {"<a>", 2},
        {"<a b='>'>", 8},
        {"<a b=\">'\" c='\"'>", 15},
        {"<Data ss:Type=\"String\">0</Data>", 22},
        {"<a b='>", npos},
        {"<a b=\"x\"", npos},
        {"", npos},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QuotedTagEnd(c.tag, 1), c.end) << c.tag;
    }
}

TEST(XmlByteScan, ShortComparisons)
{
    EXPECT_TRUE(SameShortBytes("Cell>", "Cell"));
    EXPECT_TRUE(SameShortBytes("Cell", ""));
    EXPECT_FALSE(SameShortBytes("Cel", "Cell"));
    EXPECT_FALSE(SameShortBytes("Celt", "Cell"));
    EXPECT_FALSE(SameShortBytes("cell", "Cell"));
}

} // namespace

} // namespace core
