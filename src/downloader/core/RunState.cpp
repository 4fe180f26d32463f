#include "downloader/core/RunState.h"

namespace downloader {

namespace {

RunState AfterClose(RunState state)
{
    switch (state) {
    case RunState::Running:
    case RunState::Cancelling:
    case RunState::Closing:
        return RunState::Closing; // the tool has to stop before the window is done
    case RunState::Unusable:
    case RunState::Idle:
    case RunState::Cancelled:
    case RunState::Finishing:
    case RunState::Closed:
        break;
    }
    return RunState::Closed;
}

RunState AfterRunEnded(RunState state)
{
    switch (state) {
    case RunState::Running:
        return RunState::Finishing;
    case RunState::Cancelling:
        return RunState::Cancelled;
    case RunState::Closing:
        return RunState::Closed;
    case RunState::Unusable:
    case RunState::Idle:
    case RunState::Cancelled:
    case RunState::Finishing:
    case RunState::Closed:
        break;
    }
    return state;
}

bool IsPause(RunState state)
{
    return state == RunState::Cancelled || state == RunState::Finishing;
}

} // namespace

RunState NextRunState(RunState state, RunEvent event)
{
    switch (event) {
    case RunEvent::Start:
        return state == RunState::Idle ? RunState::Running : state;
    case RunEvent::Cancel:
        return state == RunState::Running ? RunState::Cancelling : state;
    case RunEvent::Close:
        return AfterClose(state);
    case RunEvent::RunEnded:
        return AfterRunEnded(state);
    case RunEvent::PauseOver:
        return IsPause(state) ? RunState::Idle : state;
    }
    return state;
}

bool RunInProgress(RunState state)
{
    return state == RunState::Running || state == RunState::Cancelling || state == RunState::Closing || IsPause(state);
}

bool ShowsRun(RunState state)
{
    return state == RunState::Running || state == RunState::Finishing;
}

std::string_view RunStateName(RunState state)
{
    switch (state) {
    case RunState::Unusable:
        return "Unusable";
    case RunState::Idle:
        return "Idle";
    case RunState::Running:
        return "Running";
    case RunState::Cancelling:
        return "Cancelling";
    case RunState::Cancelled:
        return "Cancelled";
    case RunState::Finishing:
        return "Finishing";
    case RunState::Closing:
        return "Closing";
    case RunState::Closed:
        return "Closed";
    }
    return "?";
}

} // namespace downloader
