#include "boottool/SerialDevice.h"

#include <charconv>

namespace boottool {

namespace {

constexpr std::string_view kDeviceNamespace = "\\\\.\\";

// n of "COM<n>", or nullopt for any other name.
[[nodiscard]] std::optional<unsigned> ComNumber(std::string_view name)
{
    if (name.size() < 4 || name.substr(0, 3) != "COM") {
        return std::nullopt;
    }
    unsigned number = 0;
    const char* first = name.data() + 3;
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::optional<std::string> SerialDevicePath(std::string_view name)
{
#ifdef _WIN32
    return WindowsSerialDevicePath(name);
#else
    return PosixSerialDevicePath(name);
#endif
}

std::optional<std::string> PosixSerialDevicePath(std::string_view name)
{
    if (!name.empty() && name.front() == '/') {
        return std::string(name);
    }
    const std::optional<unsigned> number = ComNumber(name);
    if (!number) {
        return std::nullopt;
    }
    // COM0 has no device; it still passes the name check and simply fails to open.
    if (*number == 0) {
        return std::string("/dev/ttyS-1");
    }
    return "/dev/ttyS" + std::to_string(*number - 1);
}

std::optional<std::string> WindowsSerialDevicePath(std::string_view name)
{
    if (name.starts_with(kDeviceNamespace) && name.size() > kDeviceNamespace.size()) {
        return std::string(name);
    }
    const std::optional<unsigned> number = ComNumber(name);
    if (!number) {
        return std::nullopt;
    }
    if (*number < 10) {
        return std::string(name);
    }
    return std::string(kDeviceNamespace) + std::string(name);
}

} // namespace boottool
