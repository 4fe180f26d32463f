#include "boottool/BootSession.h"
#include "boottool/NetAddress.h"

#include <csignal>

int main(int argc, char** argv)
{
    // A board or client that goes away must surface as an error, not kill the tool silently.
    std::signal(SIGPIPE, SIG_IGN);
    boottool::StdConsole console;
    boottool::BootEnvironment environment;
    environment.detectLocalAddress = boottool::DetectLocalAddress;
    return boottool::RunBoot(std::vector<std::string>(argv + 1, argv + argc), console, environment);
}
