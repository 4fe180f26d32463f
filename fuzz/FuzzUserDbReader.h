#pragma once

#include "db/CProgDb.h"

#include <cstddef>
#include <cstdint>
#include <span>

// Input: a 32-bit address, then the image. The address is folded into 0..image size so that both
// the size check and the search for the user database are reached.
template <class Reader>
int FuzzUserDbReader(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) {
        return 0;
    }
    const std::span<const std::uint8_t> image(data + 4, size - 4);
    const std::uint32_t raw = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8
        | static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    const auto address = static_cast<std::uint32_t>(raw % (image.size() + 1));
    core::CProgDb db;
    Reader reader;
    reader.ImportImage(image, address, db);
    // Names are cut to their fields: 15 bytes for satellites, 20 for programs.
    for (const core::CSatNode& sat : db.Sats()) {
        if (sat.Name().size() > 15) {
            __builtin_trap();
        }
    }
    for (const core::CProgNode& prog : db.Progs()) {
        if (prog.ProgName().size() > 20 || prog.Id() < 0) {
            __builtin_trap();
        }
    }
    return 0;
}
