#include "downloader/core/RunState.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace downloader {

namespace {

using S = RunState;

// Per state: its name, the state after each event (in RunEvent order), whether a run is in progress and
// whether the window shows it.
struct StateRow
{
    RunState state;
    std::string_view name;
    std::array<RunState, 5> after; // Start, Cancel, Close, RunEnded, PauseOver
    bool inProgress;
    bool shown;
};

constexpr std::array<RunEvent, 5> kEvents{
    RunEvent::Start, RunEvent::Cancel, RunEvent::Close, RunEvent::RunEnded, RunEvent::PauseOver};

// clang-format off
constexpr std::array<StateRow, 8> kRows{{
    //                               Start       Cancel         Close       RunEnded       PauseOver
    {S::Unusable,   "Unusable",   {S::Unusable,   S::Unusable,   S::Closed,  S::Unusable,   S::Unusable},   false, false},
    {S::Idle,       "Idle",       {S::Running,    S::Idle,       S::Closed,  S::Idle,       S::Idle},       false, false},
    {S::Running,    "Running",    {S::Running,    S::Cancelling, S::Closing, S::Finishing,  S::Running},    true,  true},
    {S::Cancelling, "Cancelling", {S::Cancelling, S::Cancelling, S::Closing, S::Cancelled,  S::Cancelling}, true,  false},
    {S::Cancelled,  "Cancelled",  {S::Cancelled,  S::Cancelled,  S::Closed,  S::Cancelled,  S::Idle},       true,  false},
    {S::Finishing,  "Finishing",  {S::Finishing,  S::Finishing,  S::Closed,  S::Finishing,  S::Idle},       true,  true},
    {S::Closing,    "Closing",    {S::Closing,    S::Closing,    S::Closing, S::Closed,     S::Closing},    true,  false},
    {S::Closed,     "Closed",     {S::Closed,     S::Closed,     S::Closed,  S::Closed,     S::Closed},     false, false},
}};
// clang-format on

} // namespace

TEST(RunState, EveryEventInEveryState)
{
    for (const StateRow& row : kRows) {
        for (std::size_t i = 0; i < kEvents.size(); ++i) {
            SCOPED_TRACE(std::string(row.name) + ", event " + std::to_string(i));
            EXPECT_EQ(RunStateName(NextRunState(row.state, kEvents[i])), RunStateName(row.after[i]));
        }
    }
}

TEST(RunState, ProgressAndDisplayOfEachState)
{
    for (const StateRow& row : kRows) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_EQ(RunStateName(row.state), row.name);
        EXPECT_EQ(RunInProgress(row.state), row.inProgress);
        EXPECT_EQ(ShowsRun(row.state), row.shown);
    }
}

// The paths a run takes through the states, event by event.
TEST(RunState, PathsOfARun)
{
    struct Path
    {
        const char* name;
        std::vector<RunEvent> events;
        RunState end;
    };
    const std::vector<Path> paths{
        {"run to its end", {RunEvent::Start, RunEvent::RunEnded, RunEvent::PauseOver}, S::Idle},
        {"cancel, and again before the run returned",
         {RunEvent::Start,
          RunEvent::Cancel,
          RunEvent::Start,
          RunEvent::Cancel,
          RunEvent::RunEnded,
          RunEvent::PauseOver},
         S::Idle},
        {"close during a run", {RunEvent::Start, RunEvent::Close, RunEvent::Close, RunEvent::RunEnded}, S::Closed},
        {"close while cancelling", {RunEvent::Start, RunEvent::Cancel, RunEvent::Close, RunEvent::RunEnded}, S::Closed},
        {"close in the pause after a run", {RunEvent::Start, RunEvent::RunEnded, RunEvent::Close}, S::Closed},
        {"no start before the pause is over",
         {RunEvent::Start, RunEvent::RunEnded, RunEvent::Start, RunEvent::PauseOver, RunEvent::Start},
         S::Running},
        {"close while idle", {RunEvent::Close, RunEvent::Start}, S::Closed},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        RunState state = S::Idle;
        for (const RunEvent event : path.events) {
            state = NextRunState(state, event);
        }
        EXPECT_EQ(RunStateName(state), RunStateName(path.end));
    }
}

} // namespace downloader
