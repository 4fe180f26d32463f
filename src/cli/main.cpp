#include "cli/Commands.h"

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
