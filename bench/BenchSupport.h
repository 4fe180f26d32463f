#pragma once

#include <functional>
#include <string>
#include <vector>

namespace core {
class CProgDb;
} // namespace core

// The middle value (of an even count, the upper of the two in the middle).
double Median(std::vector<double> values);

// The median wall time of runs calls of f, in milliseconds.
double MedianMs(int runs, const std::function<void()>& f);

// Runs a shell command and returns the median wall time over runs, in milliseconds.
double MedianCommandMs(int runs, const std::string& command);

// Fills db with sats satellites, tps transponders and progs programs spread evenly, with names
// that use the whole 8-bit range.
void FillLargeDb(core::CProgDb& db, int sats, int tps, int progs);

// Prints one result line: subject, time, peer time and the ratio.
void ReportRatio(const std::string& subject, double ms, const std::string& peer, double peerMs, double target);
