#pragma once

#include <string>

namespace core {
class CProgDb;
} // namespace core

namespace editor {

// What an import read, for the status bar: "12 satellites, 400 transponders, 2500 programs".
std::string ImportSummary(const core::CProgDb& db);

} // namespace editor
