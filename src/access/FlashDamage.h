#pragma once

#include <cstdint>
#include <string>

namespace core {

// What a flash-image reader had to leave out because its offsets left the flash area or its chains
// looped: tables it could not reach and records it could not read. The rest is imported.
struct FlashDamage
{
    std::uint32_t tables = 0;
    std::uint32_t records = 0;

    bool Any() const { return tables != 0 || records != 0; }
};

// "The image looks damaged: N tables and M records could not be read."
inline std::string FlashDamageWarning(const FlashDamage& damage)
{
    return "The image looks damaged: " + std::to_string(damage.tables) + " tables and " + std::to_string(damage.records)
        + " records could not be read.";
}

} // namespace core
