#include "excel/CAccessExcelOut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace core {

namespace {

struct SheetNameCase
{
    const char* label;
    std::vector<std::string> satNames; // handed to one exporter in this order
    std::vector<std::string> expected;
};

const SheetNameCase kSheetNameCases[] = {
    {"same name gets counters", {"Sat 1", "Sat 1", "Sat 1"}, {"Sat_1", "Sat_11", "Sat_12"}},
    {"separators each become an underscore", {"Sat 13.0E"}, {"Sat_13_0E"}},
    {"only the first 16 bytes count", {"ABCDEFGHIJKLMNOPQRS"}, {"ABCDEFGHIJKLMNOP"}},
    {"two blanks give two underscores", {"a  b"}, {"a__b"}},
    {"a run of underscores collapses", {"a__b"}, {"a_b"}},
    {"an underscore after a separator is dropped", {"a _b"}, {"a_b"}},
    {"leading underscores collapse too", {"__x"}, {"_x"}},
    {"bytes beyond ASCII become underscores", {"\xC4\xE3TV"}, {"__TV"}},
    {"a made name taken by a later satellite", {"A", "A1", "A"}, {"A", "A1", "A2"}},
    {"the counter is not cut to 16 bytes",
     {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOPQ"},
     {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP1"}},
    // Spreadsheet programs would rename a sheet that differs from another only in case.
    {"names differing only in case are counted", {"abc", "ABC", "Abc1"}, {"abc", "ABC1", "Abc11"}},
    // The satellites sheet keeps its name: a satellite called so gets a counted sheet of its own.
    {"the satellites sheet name is reserved", {"Satellites", "SATELLITES"}, {"Satellites1", "SATELLITES2"}},
    // An empty "ProgSheet" cell would make the import skip the satellite, so no sheet is unnamed.
    {"an empty name is counted from the start", {"", ""}, {"1", "2"}},
};

class SheetNameTest : public testing::TestWithParam<SheetNameCase>
{ };

TEST_P(SheetNameTest, MakesUniqueNames)
{
    const SheetNameCase& c = GetParam();
    SCOPED_TRACE(c.label);
    CAccessExcelOut exporter;
    std::vector<std::string> made;
    for (const std::string& name : c.satNames) {
        made.push_back(exporter.MakeSheetName(name));
    }
    EXPECT_EQ(made, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SheetNameTest, testing::ValuesIn(kSheetNameCases));

} // namespace

} // namespace core
