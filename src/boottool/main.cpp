#include "boottool/BootSession.h"
#include "boottool/NetAddress.h"
#include "platform/Arguments.h"
#include "platform/Sockets.h"

#include <csignal>

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A board or client that goes away must surface as an error, not kill the tool silently.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    boottool::StdConsole console;
    const platform::SocketLibrary sockets;
    if (!sockets.Started()) {
        console.Out("Winsock 2.2 initialization failed");
        return boottool::kExitFailure;
    }
    boottool::BootEnvironment environment;
    environment.detectLocalAddress = boottool::DetectLocalAddress;
    return boottool::RunBoot(platform::Arguments(argc, argv), console, environment);
}
