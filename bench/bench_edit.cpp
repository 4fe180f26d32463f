// The editing operations and their undo on a large database, beside snapshot undo (a copy of the
// whole database before each edit, what a naive editor keeps), and the memory of 1000 edits.
#include "BenchSupport.h"

#include "db/CProgDb.h"
#include "edit/AddNode.h"
#include "edit/CEditHistory.h"
#include "edit/DeleteNodes.h"
#include "edit/MoveNodes.h"
#include "edit/OrderLike.h"
#include "edit/RemoveDuplicates.h"
#include "edit/RenameNode.h"
#include "edit/SetField.h"
#include "edit/SortNodes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

using core::CEditHistory;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::IEdit;
using core::InvalidId;
using core::SortOrder;

namespace {

constexpr int kSats = 200;
constexpr int kTps = 8000;
constexpr int kProgs = 100000;
constexpr int kRuns = 5;

double Ms(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// The peer's undo state: a deep copy of the database.
void CopyDb(const CProgDb& from, CProgDb& to)
{
    to.Clear();
    for (const CSatNode& sat : from.Sats()) {
        auto copy = std::make_unique<CSatNode>(sat.Select(), InvalidId, sat.ParentId());
        copy->Record() = sat.Record();
        to.Sats().AddWithId(std::move(copy), sat.Id());
    }
    for (const CTpNode& tp : from.Tps()) {
        auto copy = std::make_unique<CTpNode>(InvalidId, tp.ParentId());
        copy->SetTpRecord(tp.TpRecord());
        to.Tps().AddWithId(std::move(copy), tp.Id());
    }
    for (const CProgNode& prog : from.Progs()) {
        auto copy = std::make_unique<CProgNode>(InvalidId, prog.ParentId());
        copy->Record() = prog.Record();
        to.Progs().AddWithId(std::move(copy), prog.Id());
    }
}

std::vector<std::int32_t> AllIds(const CProgDb& db)
{
    std::vector<std::int32_t> ids;
    for (const CProgNode& prog : db.Progs()) {
        ids.push_back(prog.Id());
    }
    return ids;
}

// The programs of transponder 0, as its view lists them.
std::vector<std::int32_t> ProgramsOf(const CProgDb& db, std::int32_t tp)
{
    std::vector<std::int32_t> ids;
    for (const CProgNode& prog : db.Progs()) {
        if (prog.ParentId() == tp) {
            ids.push_back(prog.Id());
        }
    }
    return ids;
}

struct Operation
{
    std::string name;
    std::function<std::unique_ptr<IEdit>(const CProgDb&)> make;
    double target;
};

void ReportHeader()
{
    std::printf(
        "%-46s %10s %10s %12s %12s %8s\n", "operation", "do ms", "undo ms", "snapshot ms", "restore ms", "target");
}

// Times the edit and its undo (medians of kRuns, each on the same database), and the peer's copy
// before the edit and its restore on undo.
void Measure(CProgDb& db, const Operation& op)
{
    std::vector<double> doMs;
    std::vector<double> undoMs;
    CEditHistory history(db);
    for (int run = 0; run < kRuns; ++run) {
        std::unique_ptr<IEdit> edit = op.make(db);
        bool done = false;
        doMs.push_back(Ms([&] { done = history.Do(std::move(edit)); }));
        bool undone = false;
        undoMs.push_back(Ms([&] { undone = history.Undo(); }));
        if (!done || !undone) {
            std::fprintf(stderr, "%s: do %d, undo %d\n", op.name.c_str(), done, undone);
        }
    }
    CProgDb snapshot;
    const double copyMs = Ms([&] { CopyDb(db, snapshot); });
    CProgDb restored;
    const double restoreMs = Ms([&] { CopyDb(snapshot, restored); });
    const double worst = std::max(Median(doMs), Median(undoMs));
    std::printf("%-46s %10.2f %10.2f %12.2f %12.2f %6.0f %s\n",
                op.name.c_str(),
                Median(doMs),
                Median(undoMs),
                copyMs,
                restoreMs,
                op.target,
                worst <= op.target ? "OK" : "MISSED");
}

// The heap a history of 1000 single edits holds, beside copies of the database taken before each.
void MeasureMemory(CProgDb& db)
{
    constexpr int kEdits = 1000;
    std::mt19937 random(7);
    const std::size_t before = HeapInUse();
    {
        CEditHistory history(db);
        for (int i = 0; i < kEdits; ++i) {
            const auto id = static_cast<std::int32_t>(random() % kProgs);
            std::unique_ptr<IEdit> edit;
            switch (i % 4) {
            case 0:
                edit = core::SetField(core::Prog, id, "ServiceId", random() & 0xFFFF);
                break;
            case 1:
                edit = core::RenameNode(core::Prog, id, "Renamed " + std::to_string(i));
                break;
            case 2:
                edit = core::MoveNodes(core::Prog, {id}, static_cast<std::int32_t>(random() % kProgs));
                break;
            default:
                edit = core::DeleteNodes(core::Prog, {id});
                break;
            }
            (void)history.Do(std::move(edit)); // an id deleted earlier is refused, and not counted
        }
        const std::size_t held = HeapInUse() - before;
        std::printf(
            "\nhistory of %d single edits (set, rename, move, delete in turn): %.2f MB held (target <= 10 MB) %s\n",
            kEdits,
            static_cast<double>(held) / 1e6,
            held <= 10'000'000 ? "OK" : "MISSED");
        while (history.CanUndo()) {
            (void)history.Undo();
        }
    }
    // The peer keeps a whole copy per edit: measure a few and scale.
    constexpr int kCopies = 5;
    const std::size_t peerBefore = HeapInUse();
    std::vector<std::unique_ptr<CProgDb>> copies;
    for (int i = 0; i < kCopies; ++i) {
        copies.push_back(std::make_unique<CProgDb>());
        CopyDb(db, *copies.back());
    }
    const double perCopy = static_cast<double>(HeapInUse() - peerBefore) / kCopies;
    std::printf(
        "snapshot undo: %.2f MB per copy, %.0f MB for %d edits\n", perCopy / 1e6, perCopy * kEdits / 1e6, kEdits);
}

} // namespace

int main()
{
    CProgDb db;
    FillLargeDb(db, kSats, kTps, kProgs);
    CProgDb reference;
    FillLargeDb(reference, kSats, kTps, kProgs);
    // The reference lists the programs backwards, so every program moves.
    for (const std::int32_t id : AllIds(reference)) {
        (void)reference.Progs().Move(id, reference.Progs().begin()->Id());
    }
    // Every 20th program from 8000 on repeats the ServiceId of the program 8000 before it, which
    // FillLargeDb puts on the same transponder: 4600 duplicates.
    std::size_t duplicates = 0;
    for (CProgNode& prog : db.Progs()) {
        if (prog.Id() >= kTps && prog.Id() % 20 == 0) {
            prog.SetServiceId(static_cast<std::uint32_t>(prog.Id() - kTps));
            ++duplicates;
        }
    }
    std::printf("%d satellites, %d transponders, %d programs (%zu duplicates); medians of %d runs\n",
                kSats,
                kTps,
                kProgs,
                duplicates,
                kRuns);
    ReportHeader();
    const std::vector<std::int32_t> all = AllIds(db);
    std::vector<std::int32_t> every10th;
    for (std::size_t i = 0; i < all.size(); i += 10) {
        every10th.push_back(all[i]);
    }
    const std::vector<Operation> operations{
        {"delete 1 program", [](const CProgDb&) { return core::DeleteNodes(core::Prog, {kProgs / 2}); }, 100},
        {"delete 10000 programs", [&](const CProgDb&) { return core::DeleteNodes(core::Prog, every10th); }, 100},
        {"delete satellite (40 tps, 500 programs)",
         [](const CProgDb&) { return core::DeleteNodes(core::Sat, {7}); },
         100},
        {"move 1 program to the top",
         [](const CProgDb& d) { return core::MoveNodes(core::Prog, {kProgs - 1}, d.Progs().begin()->Id()); },
         100},
        {"move 10000 programs to the end",
         [&](const CProgDb&) { return core::MoveNodes(core::Prog, every10th, InvalidId); },
         100},
        {"set ServiceId", [](const CProgDb&) { return core::SetField(core::Prog, 12345, "ServiceId", 7); }, 100},
        {"rename program", [](const CProgDb&) { return core::RenameNode(core::Prog, 12345, "Renamed"); }, 100},
        {"add program", [](const CProgDb&) { return core::AddNode(core::Prog, 17, 50000); }, 100},
        {"sort all programs by ProgName",
         [](const CProgDb& d) { return core::SortNodes(core::Prog, AllIds(d), "ProgName", SortOrder::Descending); },
         200},
        {"sort all programs by ServiceId desc",
         [](const CProgDb& d) { return core::SortNodes(core::Prog, AllIds(d), "ServiceId", SortOrder::Descending); },
         200},
        {"sort a transponder's programs by ProgName",
         [](const CProgDb& d) {
             return core::SortNodes(core::Prog, ProgramsOf(d, 3), "ProgName", SortOrder::Descending);
         },
         100},
        {"remove duplicates", [](const CProgDb&) { return core::RemoveDuplicatePrograms(); }, 100},
        {"order like a reversed reference", [&](const CProgDb&) { return core::OrderLike(reference); }, 100},
    };
    for (const Operation& op : operations) {
        Measure(db, op);
    }
    MeasureMemory(db);
    return 0;
}
