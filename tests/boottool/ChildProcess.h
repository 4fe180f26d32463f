#pragma once

#include <string>
#include <vector>

namespace boottool {

// Result of running a program to its end.
struct ChildResult
{
    int status = -1; // exit status, or -1 when it was killed
    bool timedOut = false; // killed after the time limit
    std::string output; // standard output
    std::string errors; // standard error
    std::string merged; // both, in the order they arrived (as the front-end sees them)
    double cpuSeconds = 0; // user + system time the program used
};

// Runs a program (no shell) with a time limit and collects what it prints.
[[nodiscard]] ChildResult
RunChild(const std::vector<std::string>& argv, int timeoutMs, const std::string& workDir = {});

// Whether a program can be found on PATH.
bool HaveProgram(const std::string& name);

} // namespace boottool
