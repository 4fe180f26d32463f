#include "BootSession.h"
#include "NetAddress.h"

#include <csignal>

int main(int argc, char** argv)
{
    // A board or client that goes away must surface as an error, not kill the tool silently.
    std::signal(SIGPIPE, SIG_IGN);
    StdConsole console;
    BootEnvironment environment;
    environment.detectLocalAddress = DetectLocalAddress;
    return RunBoot(std::vector<std::string>(argv + 1, argv + argc), console, environment);
}
