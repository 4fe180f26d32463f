#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace boottool {

// A machine name with the boot loader image compiled into the tool for it.
struct MachineImage
{
    const char* name;
    std::span<const std::uint8_t> image;
};

// The built-in machines, in the order the usage text lists them.
std::span<const MachineImage> MachineTable();

// The entry of that name, or nullptr.
[[nodiscard]] const MachineImage* FindMachine(std::string_view name);

} // namespace boottool
