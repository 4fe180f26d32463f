#include "cli/Commands.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail like a full disk, with its message and with the
    // temporary files removed, instead of ending the program on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
