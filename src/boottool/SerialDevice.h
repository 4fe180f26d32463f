#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace boottool {

// The device path for a -d value: "COM<n>" (n >= 1) is /dev/ttyS<n-1>, an absolute path is used as it
// is (a USB adapter, a pseudo-terminal); anything else gives nullopt.
[[nodiscard]] std::optional<std::string> SerialDevicePath(std::string_view name);

} // namespace boottool
