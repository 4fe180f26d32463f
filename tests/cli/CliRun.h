#pragma once

#include <string>
#include <vector>

namespace cli {

// What a command run in this process printed and returned.
struct CliResult
{
    int status;
    std::string out;
    std::string err;
};

// Runs corvane-cli's commands on args, as its main does, capturing both streams.
CliResult RunCommand(const std::vector<std::string>& args);

// The repository's sample default database.
std::string SamplePath();

} // namespace cli
