#pragma once

#include "access/CAccessOut.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace core {

// Writes the database as a default-database file ("Sg8K" ... "Eg8K").
//
// The file is always one its own reader accepts: only transponders under a satellite of the
// database are written (and counted), only programs whose transponder is written are written,
// and a database beyond the 13-bit index fields is refused before anything is touched.
class CAccessDbOut : public CAccessOut
{
public:
    [[nodiscard]] bool Export(const std::string& path, CProgDb& db) override;

    // Builds the file's bytes; false (with PendingError set) when the database does not fit the
    // format. Refreshes FirstTpIndex, TpCount, SatRef and TpRef of the nodes written.
    [[nodiscard]] bool BuildBytes(CProgDb& db, std::string& bytes);

private:
    [[nodiscard]] bool CheckLimits(const CProgDb& db);
    void WriteSatellites(CProgDb& db, std::string& bytes);
    void WriteTransponders(CProgDb& db, std::string& bytes);
    void WritePrograms(CProgDb& db, std::string& bytes);

    std::uint32_t m_nSat = 0;
    std::uint32_t m_nTp = 0;
    std::uint32_t m_nProg = 0;
    // One entry per transponder written: its Id and the index of its satellite in the file.
    std::vector<std::pair<std::int32_t, std::uint32_t>> m_tpTable;
};

} // namespace core
