#include "BenchSupport.h"

#include "db/CProgDb.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MedianMs(int runs, const std::function<void()>& f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double MedianCommandMs(int runs, const std::string& command)
{
    return MedianMs(runs, [&command] {
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "command failed: %s\n", command.c_str());
        }
    });
}

void FillLargeDb(CProgDb& db, int sats, int tps, int progs)
{
    db.Clear();
    for (int s = 0; s < sats; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Sat " + std::to_string(s) + "\xE9");
        sat->SetLongitude(static_cast<std::uint32_t>(s * 7 % 1800));
        db.Sats().Add(std::move(sat));
    }
    for (int t = 0; t < tps; ++t) {
        auto tp = std::make_unique<CTpNode>(InvalidId, t % sats);
        tp->SetFrequency(static_cast<std::uint32_t>(10700 + t % 2000));
        tp->SetSymbolRate(27500);
        db.Tps().Add(std::move(tp));
    }
    for (int p = 0; p < progs; ++p) {
        auto prog = std::make_unique<CProgNode>(InvalidId, p % tps);
        prog->SetProgName("Program \xC4\xD6\xDC " + std::to_string(p));
        prog->SetServiceId(static_cast<std::uint32_t>(p));
        prog->SetVPID(static_cast<std::uint32_t>(p % 8000));
        db.Progs().Add(std::move(prog));
    }
}

void ReportRatio(const std::string& subject, double ms, const std::string& peer, double peerMs, double target)
{
    const double ratio = peerMs > 0 ? ms / peerMs : 0;
    std::printf("%-40s %9.2f ms   %-28s %9.2f ms   ratio %5.2f (target <= %.1f) %s\n",
                subject.c_str(),
                ms,
                peer.c_str(),
                peerMs,
                ratio,
                target,
                ratio <= target ? "OK" : "MISSED");
}
