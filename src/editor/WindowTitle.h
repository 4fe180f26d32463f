#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace editor {

// A version as the program's version record holds it: four 16-bit parts, most significant first.
using VersionRecord = std::array<std::uint16_t, 4>;

// The product and file versions this build carries.
VersionRecord ProductVersion();
VersionRecord FileVersion();

// "Corvane V2.000 Build 11123012 -- For Vemtrix(Small Endian)" for product 2.0.0.0, file 11.12.30.12.
std::string BuildWindowTitle(const VersionRecord& product, const VersionRecord& file);

} // namespace editor
