#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

// The default-database file: "Sg8K", nSat, nTp, nProg, the records back to back, "Eg8K".
namespace DbFile {
inline constexpr char kStartMagic[4] = {'S', 'g', '8', 'K'};
inline constexpr char kEndMagic[4] = {'E', 'g', '8', 'K'};
inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::size_t kSatSize = 28;
inline constexpr std::size_t kTpSize = 4;
inline constexpr std::size_t kProgSize = 64;
inline constexpr std::size_t kMinSize = kHeaderSize + 4;

// The 13-bit index fields limit what one file can refer to.
inline constexpr std::uint64_t kMaxSats = 8192;
inline constexpr std::uint64_t kMaxTps = 8192;
inline constexpr std::uint64_t kMaxTpsPerSat = 8191;

// The file length the header's counts call for, in 64 bits so no count can wrap it.
inline constexpr std::uint64_t ExpectedSize(std::uint64_t nSat, std::uint64_t nTp, std::uint64_t nProg)
{
    return kMinSize + kSatSize * nSat + kTpSize * nTp + kProgSize * nProg;
}
} // namespace DbFile

} // namespace core
