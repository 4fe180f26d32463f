#pragma once

#include "access/FlashDamage.h"

#include <cstdint>
#include <string>

namespace core {

class CProgDb;

// An importer: created for one command, reads one file into a database the caller has just cleared.
class CAccessIn
{
public:
    virtual ~CAccessIn() = default;
    // Reads path into db; false on failure, usually with a reason left in PendingError.
    [[nodiscard]] virtual bool Import(const std::string& path, CProgDb& db) = 0;

    // What the last Import left out of a damaged flash image; nothing for the other formats.
    const FlashDamage& Damage() const { return m_damage; }

protected:
    FlashDamage m_damage;

    // Asks the user where the user database lies in a flash image: 0 for "Auto" and for Cancel.
    static std::uint32_t AskUserDbAddress();
};

} // namespace core
