#include "excel/CAccessExcelIn.h"
#include "excel/ExcelNameCodec.h"
#include "excel/ExcelNumber.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace core {

namespace {

constexpr std::uint8_t kUntouched = 0xAA;

struct ParseNameCase
{
    const char* label;
    std::string text;
    std::size_t size;
    bool result;
    std::vector<std::uint8_t> buffer; // the first size bytes afterwards
};

const ParseNameCase kParseNameCases[] = {
    {"escaped bytes", R"("\xC4\xE3")", 4, true, {0xC4, 0xE3, kUntouched, kUntouched}},
    {"lower-case hex digits", R"("\xc4\x0a")", 2, true, {0xC4, 0x0A}},
    {"the same text unquoted is plain", R"(\xC4\xE3)", 10, true, {'\\', 'x', 'C', '4', '\\', 'x', 'E', '3', 0, 0}},
    {"only size groups decoded", R"("\x41\x42\x43")", 2, true, {0x41, 0x42}},
    {"a broken group keeps what came before", R"("\x41\xZZ\x43")", 3, false, {0x41, kUntouched, kUntouched}},
    {"upper-case X breaks the form", R"("\X41")", 2, false, {kUntouched, kUntouched}},
    {"a group without backslash breaks it", R"("ax41")", 2, false, {kUntouched, kUntouched}},
    {"an unclosed quote is plain text", R"("\x41)", 6, true, {'"', '\\', 'x', '4', '1', 0}},
    {"a length off the group size is plain", R"("\x41x")", 7, true, {'"', '\\', 'x', '4', '1', 'x', '"'}},
    {"a short text is zero-filled", "Sat", 5, true, {'S', 'a', 't', 0, 0}},
    {"a long text is cut with no terminator", "ABCDEFG", 4, true, {'A', 'B', 'C', 'D'}},
    {"an empty text leaves the buffer", "", 3, false, {kUntouched, kUntouched, kUntouched}},
};

class ParseNameTest : public testing::TestWithParam<ParseNameCase>
{ };

TEST_P(ParseNameTest, FillsTheField)
{
    const ParseNameCase& c = GetParam();
    SCOPED_TRACE(c.label);
    std::vector<std::uint8_t> buffer(c.size + 1, kUntouched); // one guard byte past the field
    EXPECT_EQ(CAccessExcelIn::ParseName(c.text, buffer.data(), c.size), c.result);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + static_cast<long>(c.size)), c.buffer);
    EXPECT_EQ(buffer.back(), kUntouched) << "wrote past the field";
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseNameTest, testing::ValuesIn(kParseNameCases));

struct NumberCase
{
    const char* text;
    std::uint32_t value;
};

const NumberCase kNumberCases[] = {
    {"", 0},
    {"abc", 0},
    {"11053", 11053},
    {"12abc", 12},
    {"  \t42", 42},
    {"+7", 7},
    {"-1", 4294967295u},
    {"-0", 0},
    {"- 5", 0},
    {"3.9", 3},
    {"4294967295", 4294967295u},
    {"4294967296", 4294967295u}, // beyond 32 bits saturates instead of wrapping to 0
    {"99999999999999999999999", 4294967295u},
    {"-4294967296", 4294967295u},
    {"-2147483648", 2147483648u},
};

TEST(ExcelNumberTest, ParsesLikeA32BitConversion)
{
    for (const NumberCase& c : kNumberCases) {
        EXPECT_EQ(ParseExcelNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

struct EncodeCase
{
    std::string name;
    std::string text;
};

const EncodeCase kEncodeCases[] = {
    {"Das Erste HD", "Das Erste HD"},
    {"\xC4\xE3", "\xC4\xE3"}, // text in the code page stays readable
    {"", R"("\x00")"}, // an empty cell would read as no name at all
    {R"("\x41")", R"("\x22\x5C\x78\x34\x31\x22")"}, // would otherwise come back as "A"
    {"Tab\there", R"("\x54\x61\x62\x09\x68\x65\x72\x65")"},
    {"\"quoted\"", "\"quoted\""}, // 8 bytes: not the escaped outline
};

TEST(ExcelNameCodecTest, EncodesWhatPlainTextCannotCarry)
{
    for (const EncodeCase& c : kEncodeCases) {
        SCOPED_TRACE(c.name);
        const std::string text = ExcelNameCodec::Encode(c.name);
        EXPECT_EQ(text, c.text);
        std::array<std::uint8_t, 16> field{};
        ASSERT_TRUE(ExcelNameCodec::Parse(text, field.data(), field.size()));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(field.data())), c.name);
    }
}

} // namespace

} // namespace core
