#pragma once

namespace platform {

// The lower-case form of a Unicode character by the system's tables (C.UTF-8 on POSIX systems, the
// invariant locale on Windows); ASCII's rule alone when the system has none.
[[nodiscard]] char32_t LowerCase(char32_t c);

} // namespace platform
