#pragma once

#include "access/CAccessIn.h"
#include "access/FlashArea.h"

#include <cstdint>
#include <optional>
#include <span>

namespace core {

// Reads the user database of the 2.5 block store out of a flash image file: header slots at the
// store start, one chain of rewritten blocks per table, offset tables of a width the header gives.
class CAccessUserDb25In : public CAccessIn
{
public:
    // Asks for the address (0 refuses the import) and reads the three tables from there.
    [[nodiscard]] bool Import(const std::string& path, CProgDb& db) override;

    // The same over an image in memory, with the address already chosen.
    [[nodiscard]] bool ImportImage(std::span<const std::uint8_t> image, std::uint32_t address, CProgDb& db);

    // A 28-byte block header read from the area.
    struct Header
    {
        std::uint64_t offset = 0; // from the area start
        bool hasMagic = false;
        std::uint32_t next = 0;
        std::uint32_t type = 0;
        std::uint32_t count = 0;
        std::uint32_t recordSize = 0;
        std::uint32_t width = 0;
        std::uint32_t slot = 0;
    };

    // The header at offset; none when its 28 bytes are not all inside the area.
    [[nodiscard]] static std::optional<Header> ReadHeader(const FlashArea& area, std::uint64_t offset);

    // The first 4-byte-aligned header that starts a store (a count, or an end word after an empty
    // table); the area start when there is none.
    static std::uint64_t FindStoreStart(const FlashArea& area);

    // The header of the block to read for a table: the last block of the chain that starts at the
    // table's header. None when it is missing, broken, or the search leaves the area or loops.
    // broken, when given, is set when the search looped or left the area.
    [[nodiscard]] static std::optional<Header>
    FindBlock25(const FlashArea& area, std::uint64_t storeStart, std::uint32_t wantedType, bool* broken = nullptr);

    // The bytes of record i (recordSize rounded down to whole words); none when i is not below the
    // count, or the entry or the record is not inside the area.
    static std::optional<std::span<const std::uint8_t>>
    GetRecord25(const FlashArea& area, const Header& header, std::uint32_t i);

private:
    // Reads the three tables, counting in damage what it had to leave out.
    static void ReadArea(const FlashArea& area, CProgDb& db, FlashDamage& damage);
};

} // namespace core
