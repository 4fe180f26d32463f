#pragma once

#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"

#include <array>
#include <cstdint>

namespace core {

// The receiver's run-time records in the flash user database, and their translation into nodes.
namespace UserDb {
inline constexpr std::uint32_t kMagic = 0xAABBCCDD;
inline constexpr std::uint32_t kEndMagic = 0xDDCCBBAA;
inline constexpr std::uint32_t kNoNext = 0xFFFFFFFF;
inline constexpr std::uint32_t kInUse = 0xFFFF;
inline constexpr std::uint64_t kMarkerStep = 0x10000;
inline constexpr std::uint64_t kHeaderSize = 20;

inline constexpr std::uint32_t kSatTable = 1;
inline constexpr std::uint32_t kTpTable = 2;
inline constexpr std::uint32_t kProgTable = 3;

// Record buffers: the bytes each layout uses (31, 12 and 48), rounded up to whole words.
using SatBuffer = std::array<std::uint8_t, 32>;
using TpBuffer = std::array<std::uint8_t, 12>;
using ProgBuffer = std::array<std::uint8_t, 48>;

// Fills a fresh satellite node; returns the id the receiver gave the satellite.
std::int32_t FillSat(const SatBuffer& record, CSatNode& sat);
// Fills a fresh transponder node's word; returns the receiver's id (ParentId goes to *parentId).
std::int32_t FillTp(const TpBuffer& record, CTpNode& tp, std::int32_t* parentId);
// Fills a fresh program node; returns the id of its transponder.
std::int32_t FillProg(const ProgBuffer& record, CProgNode& prog);
} // namespace UserDb

// The 4-bit LNB index of a frequency in MHz; a frequency not in the table is stored as 15.
std::uint32_t LnbIndexField(std::uint32_t mhz);

} // namespace core
