#pragma once

#include <ostream>

namespace core {
class CProgDb;
} // namespace core

namespace cli {

// Writes the database as one JSON object (UTF-8): "satellites", "transponders", "programs", each
// node in list order with every field, its name decoded from the internal code page and in hex,
// and its packed record in hex.
void WriteJsonDump(const core::CProgDb& db, std::ostream& out);

} // namespace cli
