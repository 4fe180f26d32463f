#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of corvane-cli.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };

// Runs one corvane-cli command line (without the program name); results go to out, messages to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace cli
