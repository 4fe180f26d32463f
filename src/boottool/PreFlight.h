#pragma once

#include "boottool/Console.h"

#include <string>
#include <vector>

namespace boottool {

// The checks made before the user is asked to power on the board, so a run that cannot succeed ends
// while the board is untouched: every command has the words it needs, every file the board is to get
// (serialdown, netdown, download, run, boot) is a readable regular file, and every dump has a folder it
// can be written into. Prints what is wrong and returns false at the first problem.
[[nodiscard]] bool CheckBeforePowerOn(const std::vector<std::string>& commands, Console& console);

} // namespace boottool
