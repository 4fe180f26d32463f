#pragma once

#include <string>

class CProgDb;

// What an import read, for the status bar: "12 satellites, 400 transponders, 2500 programs".
std::string ImportSummary(const CProgDb& db);
