#pragma once

#include <string>
#include <vector>

namespace editor {

// One condition of a list filter: the cell of this column must show exactly this text (UTF-8).
struct FilterCondition
{
    int column = 0;
    std::string value;
};

// The conditions the filter dialog writes and the program list applies, all of them at once.
struct FilterSpec
{
    std::vector<FilterCondition> conditions;
};

} // namespace editor
