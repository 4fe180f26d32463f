#include "CliRun.h"

#include "cli/Commands.h"

#include <sstream>

namespace cli {

CliResult RunCommand(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

std::string SamplePath()
{
    return std::string(SAMPLES_DIR) + "/sample.db";
}

} // namespace cli
