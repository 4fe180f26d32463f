#pragma once

#include "db/CProgDb.h"

#include <memory>
#include <string>

namespace editor {

// A database of `sats` satellites ("Sat0", ...), each with `tpsPerSat` transponders (frequency
// 10000 + id, symbol rate 27500), each with `progsPerTp` programs ("Prog0", ..., service id =
// 100 + id). Ids follow list order from 0.
std::unique_ptr<core::CProgDb> MakeDatabase(int sats, int tpsPerSat, int progsPerTp);

// The database as a default-database file's bytes.
std::string DbFileBytes(core::CProgDb& db);

} // namespace editor
