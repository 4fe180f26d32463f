#pragma once

#include <string>
#include <string_view>

namespace core {

// Why a load or parse failed, in words, from the first failure entry of a result log; with the
// line and column (from 1, in characters) of its offset in text when it has one. Empty when the
// log holds no failure.
std::string DescribeXmlFailure(std::string_view log, std::string_view text);

} // namespace core
