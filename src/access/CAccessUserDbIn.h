#pragma once

#include "access/CAccessIn.h"
#include "access/FlashArea.h"

#include <cstdint>
#include <optional>
#include <span>

namespace core {

// Reads the user database a receiver keeps in its flash out of a flash image file: a chain of
// block headers from a marker word, one block per table, each listing its records' offsets.
class CAccessUserDbIn : public CAccessIn
{
public:
    // Asks for the address (0 searches from the start), finds the marker and reads the three tables.
    [[nodiscard]] bool Import(const std::string& path, CProgDb& db) override;

    // The same over an image in memory, with the address already chosen.
    [[nodiscard]] bool ImportImage(std::span<const std::uint8_t> image, std::uint32_t address, CProgDb& db);

    // A table block found in the area: where its header lies and what it holds.
    struct Block
    {
        std::uint64_t offset = 0; // of the header, from the area start; the offset table follows at +20
        std::uint32_t count = 0;
        std::uint32_t recordSize = 0;
    };

    // The first in-use block of the wanted table type along the chain from the root header; none when
    // the chain ends, breaks, loops or leaves the area first.
    // broken, when given, is set when the chain looped or left the area (or a header there was not one).
    [[nodiscard]] static std::optional<Block>
    FindBlock(const FlashArea& area, std::uint32_t wantedType, bool* broken = nullptr);

    // The first position address + k * 64 KiB below size whose word is the marker; wordAt gives the
    // word at a position, or none when fewer than four bytes are there.
    template <class WordAt>
    [[nodiscard]] static std::optional<std::uint64_t>
    FindMarker(std::uint64_t address, std::uint64_t size, WordAt wordAt);

private:
    // Reads the three tables of an area that starts at the marker.
    // Each counts in damage what it had to leave out.
    static void ReadArea(const FlashArea& area, CProgDb& db, FlashDamage& damage);
    static void ReadSatellites(const FlashArea& area, CProgDb& db, FlashDamage& damage);
    static void ReadTransponders(const FlashArea& area, CProgDb& db, FlashDamage& damage);
    static void ReadPrograms(const FlashArea& area, CProgDb& db, FlashDamage& damage);
    // The block of a table, counting a broken chain in damage.
    static std::optional<Block> FindTable(const FlashArea& area, std::uint32_t type, FlashDamage& damage);
};

template <class WordAt>
std::optional<std::uint64_t> CAccessUserDbIn::FindMarker(std::uint64_t address, std::uint64_t size, WordAt wordAt)
{
    constexpr std::uint32_t kMarker = 0xAABBCCDD;
    constexpr std::uint64_t kStep = 0x10000;
    for (std::uint64_t p = address; p < size; p += kStep) {
        const std::optional<std::uint32_t> word = wordAt(p);
        if (word && *word == kMarker) {
            return p;
        }
    }
    return std::nullopt;
}

} // namespace core
