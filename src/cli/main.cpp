#include "cli/Commands.h"
#include "platform/Arguments.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail like a full disk, with its message and with the
    // temporary files removed, instead of ending the program on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The file names in UTF-8, as the core takes them (on Windows read from the system in UTF-16).
    const std::vector<std::string> args = platform::Arguments(argc, argv);
    const int status = cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    return status;
}
