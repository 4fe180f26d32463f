#pragma once

#include "boottool/BoardLink.h"
#include "boottool/Console.h"

#include <cstdint>
#include <span>
#include <vector>

namespace boottool {

// Outcome of sending the boot loader image to the boot ROM.
enum class BootRomResult {
    Loaded, // the ROM answered "O", or did not answer at all
    RomError, // no "GET" after the header
    Rejected, // the ROM answered something other than "O" or "E"
    LinkFailed // the serial line failed
};

// Time limits of the exchange with the boot ROM (milliseconds).
struct BootRomTimings
{
    int getTimeoutMs = 5000; // header sent -> "GET"
    int answerTimeoutMs = 3000; // image sent -> "O" / "E"
};

inline constexpr std::size_t kRomHeaderLimit = 4096; // the ROM takes at most this much image as its header
inline constexpr std::size_t kRomPieceSize = 2048; // image pieces, one dot each
inline constexpr std::size_t kRomAnswerLimit = 127; // bytes of answer looked at

// The header message: "Y", the word count, image bytes 4 up to the trailer, then the 32-bit sum of all
// image bytes, the image size and "boot" (all little-endian).
std::vector<std::uint8_t> BuildRomHeader(std::span<const std::uint8_t> image);

// Sends the image after the ROM's "X": header, "GET", the image in pieces, and its answer with the retry.
[[nodiscard]] BootRomResult SendImageToRom(BoardLink& link,
                                           Console& console,
                                           std::span<const std::uint8_t> image,
                                           const BootRomTimings& timings = {});

} // namespace boottool
