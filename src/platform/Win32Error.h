#pragma once

#include <string>

// Win32 error codes as errno values, so the programs report every failure the same way.
namespace platform {

// Sets errno from GetLastError() and returns it.
int SetErrnoFromLastError();
// The system's text for a Win32 error code (GetLastError, WSAGetLastError), without its line end.
[[nodiscard]] std::string Win32ErrorText(unsigned long code);

} // namespace platform
