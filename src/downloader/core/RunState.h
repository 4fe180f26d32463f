#pragma once

#include <string_view>

namespace downloader {

// Where the download window stands with its runs; one run at a time. A run that has returned is followed
// by a short pause before the next one may start.
enum class RunState {
    Unusable, // the tool could not be written out at start-up: nothing can run
    Idle, // ready for a run
    Running, // a run is going on
    Cancelling, // the user cancelled: the tool is being stopped and its run has not returned yet
    Cancelled, // the cancelled run has returned: the pause after it
    Finishing, // the run has returned by itself and has been reported: the pause after it
    Closing, // the window was closed during a run: the tool is being stopped, then the tool file goes
    Closed, // the window has closed and no run is left
};

enum class RunEvent {
    Start, // Start clicked while it reads "&Start", or Enter in the Command field
    Cancel, // Start clicked while it reads "&Cancel"
    Close, // the window is closed
    RunEnded, // the runner has reported the end of its run
    PauseOver, // the pause after a run is over
};

// The state after an event; the same state when the event means nothing there.
[[nodiscard]] RunState NextRunState(RunState state, RunEvent event);

// A run has begun and its end (with the pause after it) is still to come.
[[nodiscard]] bool RunInProgress(RunState state);

// The window shows a run: Start reads "&Cancel", Clear and the run-time-locked controls are disabled.
// A cancel shows the window idle at once, while its run is still winding down.
[[nodiscard]] bool ShowsRun(RunState state);

// The state's name, for test and log messages.
[[nodiscard]] std::string_view RunStateName(RunState state);

} // namespace downloader
