#pragma once

#include "access/CAccessIn.h"

#include <cstdint>
#include <vector>

namespace core {

// Reads a default-database file ("Sg8K" ... "Eg8K") into the database.
class CAccessDbIn : public CAccessIn
{
public:
    [[nodiscard]] bool Import(const std::string& path, CProgDb& db) override;

    // Reads the file's bytes; the same checks and messages as Import (used for images in memory too).
    [[nodiscard]] bool ImportBytes(const std::vector<std::uint8_t>& bytes, CProgDb& db);

private:
    // Checks the magic and the declared counts against the file's length, before the body is read.
    [[nodiscard]] bool HeaderFitsSize(const std::vector<std::uint8_t>& header, std::uint64_t fileSize, CProgDb& db);
    [[nodiscard]] bool ReadSatellites(const std::uint8_t* records, CProgDb& db);
    void ReadTransponders(const std::uint8_t* records, CProgDb& db);
    void ReadPrograms(const std::uint8_t* records, CProgDb& db);
    [[nodiscard]] bool Fail(const char* message, CProgDb& db);

    std::uint32_t m_nSat = 0;
    std::uint32_t m_nTp = 0;
    std::uint32_t m_nProg = 0;
};

} // namespace core
