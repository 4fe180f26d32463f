#include "boottool/SerialDevice.h"

#include <charconv>

namespace boottool {

std::optional<std::string> SerialDevicePath(std::string_view name)
{
    if (!name.empty() && name.front() == '/') {
        return std::string(name);
    }
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
    // COM0 has no device; it still passes the name check and simply fails to open.
    if (number == 0) {
        return std::string("/dev/ttyS-1");
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

} // namespace boottool
