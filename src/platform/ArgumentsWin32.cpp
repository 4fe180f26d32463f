#include "platform/Arguments.h"

#include "platform/WideText.h"

#include <memory>
#include <windows.h>

#include <shellapi.h>

namespace platform {

std::vector<std::string> Arguments(int argc, char** argv)
{
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (!wide) {
        return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
    }
    std::vector<std::string> arguments;
    for (int index = 1; index < count; ++index) {
        arguments.push_back(Narrow(wide.get()[index]));
    }
    return arguments;
}

} // namespace platform
