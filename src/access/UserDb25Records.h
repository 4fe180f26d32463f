#pragma once

#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"

#include <array>
#include <cstdint>

namespace core {

// The 2.5 revision of the receiver's user-database records, and their translation into nodes.
namespace UserDb25 {
inline constexpr std::uint64_t kHeaderSize = 28;
// A full header slot: header, an offset table of 192 bytes and the end word.
inline constexpr std::uint64_t kFullSlotSize = 224;

inline constexpr std::uint32_t kSatTable = 0;
inline constexpr std::uint32_t kTpTable = 1;
inline constexpr std::uint32_t kProgTable = 2;

// Record buffers: the bytes each layout uses (27, 14 and 48), rounded up to whole words.
using SatBuffer = std::array<std::uint8_t, 28>;
using TpBuffer = std::array<std::uint8_t, 16>;
using ProgBuffer = std::array<std::uint8_t, 48>;

// Fills a fresh satellite node; returns the id the receiver gave the satellite.
std::int32_t FillSat(const SatBuffer& record, CSatNode& sat);
// Fills a fresh transponder node's word (ExtraFlag stays 0); returns the receiver's id.
std::int32_t FillTp(const TpBuffer& record, CTpNode& tp, std::int32_t* parentId);
// Fills a fresh program node; returns the id of its transponder.
std::int32_t FillProg(const ProgBuffer& record, CProgNode& prog);
} // namespace UserDb25

} // namespace core
