#include "common/CharsetConverter.h"
#include "common/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace core {

namespace {

using Outcome = CharsetConverter::Outcome;

struct Pair
{
    const char* charset;
    std::string bytes; // the text in the set
    std::string utf8; // the same text in UTF-8
};

// The same results from iconv and from the Windows code pages.
const std::vector<Pair>& Pairs()
{
    static const std::vector<Pair> pairs = {
        {"CP936", "\xD6\xD0\xCE\xC4 CCTV-1", "\xE4\xB8\xAD\xE6\x96\x87 CCTV-1"},
        {"GBK", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
        {"CP950", "\xA4\xA4\xA4\xE5", "\xE4\xB8\xAD\xE6\x96\x87"},
        {"CP932", "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"CP949", "\xC7\xD1\xB1\xB9", "\xED\x95\x9C\xEA\xB5\xAD"},
        {"CP1251", "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
        {"CP1252", "Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"ISO-8859-1", "\xC4\xD6\xDC\xFF", "\xC3\x84\xC3\x96\xC3\x9C\xC3\xBF"},
        {"ISO-8859-7", "\xC5\xEB\xEB\xDC\xE4\xE1", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1"},
        {"KOI8-R", "\xF0\xD2\xC9", "\xD0\x9F\xD1\x80\xD0\xB8"},
        {"UTF-16LE", std::string("A\0\xAC\x20=\xD8\x00\xDE", 8), "A\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"UTF-16BE", std::string("\0A\x20\xAC\xD8=\xDE\x00", 8), "A\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"UTF-32LE", std::string("A\0\0\0\x00\xF6\x01\0", 8), "A\xF0\x9F\x98\x80"},
        {"UTF-8", "\xE4\xB8\xAD", "\xE4\xB8\xAD"},
    };
    return pairs;
}

TEST(CharsetConverterTest, BothWaysBetweenTheSetsAndUtf8)
{
    for (const Pair& pair : Pairs()) {
        SCOPED_TRACE(pair.charset);
        CharsetConverter decoder(pair.charset, "UTF-8");
        CharsetConverter encoder("UTF-8", pair.charset);
        ASSERT_TRUE(decoder.Valid() && encoder.Valid());
        std::string utf8;
        const CharsetConverter::Step decoded = decoder.Convert(pair.bytes, utf8);
        decoder.Finish(utf8);
        EXPECT_EQ(decoded.outcome, Outcome::Done);
        EXPECT_EQ(decoded.consumed, pair.bytes.size());
        EXPECT_EQ(utf8, pair.utf8);
        std::string bytes;
        const CharsetConverter::Step encoded = encoder.Convert(pair.utf8, bytes);
        encoder.Finish(bytes);
        EXPECT_EQ(encoded.outcome, Outcome::Done);
        EXPECT_FALSE(encoded.inexact);
        EXPECT_EQ(bytes, pair.bytes);
    }
}

TEST(CharsetConverterTest, StopsWhereTheInputCannotGoOn)
{
    struct Case
    {
        const char* from;
        const char* to;
        std::string input;
        Outcome outcome;
        std::size_t consumed;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"UTF-8",
         "CP1251",
         "ab\xE4\xB8\xAD"
         "c",
         Outcome::Stopped,
         2,
         "ab"}, // no Chinese in Cyrillic
        {"UTF-8", "ISO-8859-1", "\xE2\x82\xAC", Outcome::Stopped, 0, ""}, // no euro sign in Latin-1
        {"UTF-8", "CP1252", "x\xFFy", Outcome::Stopped, 1, "x"}, // no UTF-8
        {"UTF-8", "CP936", "x\xE4\xB8", Outcome::Incomplete, 1, "x"}, // cut inside a character
        {"CP936", "UTF-8", "A\xD6", Outcome::Incomplete, 1, "A"}, // a lead byte at the end
        {"UTF-16LE", "UTF-8", std::string("A\0B", 3), Outcome::Incomplete, 2, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " to " + c.to + ": " + c.input);
        CharsetConverter converter(c.from, c.to);
        ASSERT_TRUE(converter.Valid());
        std::string output;
        const CharsetConverter::Step step = converter.Convert(c.input, output);
        EXPECT_EQ(step.outcome, c.outcome);
        EXPECT_EQ(step.consumed, c.consumed);
        EXPECT_EQ(output, c.output);
    }
}

TEST(CharsetConverterTest, UnknownSetsAreRefused)
{
    EXPECT_FALSE(CharsetConverter("NO-SUCH-SET", "UTF-8").Valid());
    EXPECT_FALSE(CharsetConverter("UTF-8", "CP99999").Valid());
    EXPECT_FALSE(CharsetKnown("NO-SUCH-SET"));
    EXPECT_TRUE(CharsetKnown("CP936"));
    EXPECT_TRUE(CharsetKnown("ISO-8859-5"));
}

TEST(CharsetConverterTest, ConversionsReplaceWhatTheTargetLacks)
{
    std::string output;
    bool lossy = false;
    ASSERT_TRUE(ConvertCharset("a\xE4\xB8\xAD\xE2\x82\xAC"
                               "b",
                               "UTF-8",
                               "CP1251",
                               output,
                               &lossy));
    EXPECT_EQ(output,
              "a?\x88"
              "b"); // the euro sign is 0x88 in 1251; the Chinese character is no letter there
    EXPECT_TRUE(lossy);
    lossy = false;
    ASSERT_TRUE(ConvertCharset("A\xFF\xD6", "CP936", "UTF-8", output, &lossy));
    EXPECT_EQ(output, "A\xEF\xBF\xBD\xEF\xBF\xBD"); // a stray and a cut-off lead byte
    EXPECT_TRUE(lossy);
}

} // namespace

} // namespace core
