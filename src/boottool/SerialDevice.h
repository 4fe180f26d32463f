#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace boottool {

// The device to open for a -d value on this system (one of the two below).
[[nodiscard]] std::optional<std::string> SerialDevicePath(std::string_view name);

// On POSIX systems: "COM<n>" (n >= 1) is /dev/ttyS<n-1>, an absolute path is used as it is (a USB
// adapter, a pseudo-terminal); anything else gives nullopt.
[[nodiscard]] std::optional<std::string> PosixSerialDevicePath(std::string_view name);

// On Windows: "COM<n>" as it is for n up to 9, through the device namespace ("\\.\COM12") from 10 on;
// a name already in the device namespace is used as it is; anything else gives nullopt.
[[nodiscard]] std::optional<std::string> WindowsSerialDevicePath(std::string_view name);

} // namespace boottool
