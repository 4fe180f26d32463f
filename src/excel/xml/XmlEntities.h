#pragma once

#include <cstdint>
#include <string_view>

namespace core {

// The 252 character entity names of HTML 4.0 plus "apos", with their code points. A name is
// matched exactly first, then without regard to case (so "&AMP;" reads as "&"); returns 0 when unknown.
std::uint32_t LookupEntity(std::string_view name);

// Number of names in the table.
std::size_t EntityCount();

} // namespace core
