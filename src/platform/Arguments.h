#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments after its name, in UTF-8. On Windows they are read in UTF-16 from the
// system (argv holds them in the ANSI code page, which cannot hold every file name).
[[nodiscard]] std::vector<std::string> Arguments(int argc, char** argv);

} // namespace platform
