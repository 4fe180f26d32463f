#pragma once

#include <string>
#include <string_view>

// UTF-8 and the UTF-16 of the Windows API. Text that is not valid UTF-8 (a name typed in the ANSI
// code page) is read in the ANSI code page instead, so it still names what the user meant.
namespace platform {

[[nodiscard]] std::wstring Widen(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view wide);

} // namespace platform
