#pragma once

// The serial line of this system: termios on POSIX systems, the communications API on Windows.
#ifdef _WIN32
#include "boottool/Win32SerialPort.h"
namespace boottool {
using SerialPort = Win32SerialPort;
}
#else
#include "boottool/PosixSerialPort.h"
namespace boottool {
using SerialPort = PosixSerialPort;
}
#endif
