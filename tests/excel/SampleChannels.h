#pragma once

#include <string>

namespace core {

class CProgDb;

// Realistic test data: the channel list in tests/data/excel/channels.tsv (a subset of public
// receiver settings), with the fields it lacks filled from a fixed pseudo-random sequence so
// that every bit of every field is exercised.
void LoadSampleChannels(CProgDb& db);

// The database as one text per node, in tree order (satellite, its transponders, each with its
// programs). With asImported, the differences an export and import are allowed to make are
// applied first: "S" satellites lose their transponders and programs, "T" satellites their
// programs, LNB indexes above 9 read 0, and program names are cut to 41 bytes.
std::string DescribeTree(const CProgDb& db, bool asImported = false);

// Empty when the two descriptions are equal; otherwise the first differing line of each and
// the line counts, short enough to read in a test log.
std::string FirstDifference(const std::string& expected, const std::string& actual);

} // namespace core
