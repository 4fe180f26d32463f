#pragma once

#include "downloader/core/SegmentInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace downloader {

// The text config.ini gets when it is missing or restored (CR LF line breaks, none after the last line).
std::string_view DefaultConfigText();

// Reads a StartAddr/SegSize value: the second character counts as '0' (so "0x" prefixes vanish and
// "138800" reads as 0x108800), then hexadecimal digits up to the first other character; beyond 32 bits
// gives 0xFFFFFFFF.
std::uint32_t ParseSegmentValue(std::string_view text);

// Reads a number the way the profile reader reads integers: optional sign, decimal digits, 0 otherwise.
int ParseProfileInt(std::string_view text);

// The segments named in [Main] (SegNumber, Seg0, Seg1, ...) with their StartAddr and SegSize sections.
SegmentTable ParseSegmentTable(std::string_view iniText);

// More segments than any flash has; a larger SegNumber is taken as this many (it would only add empty rows).
inline constexpr int kMaxSegments = 4096;

} // namespace downloader
