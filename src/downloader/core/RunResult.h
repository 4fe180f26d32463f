#pragma once

#include <QMetaType>

namespace downloader {

// How a run ended.
struct RunResult
{
    enum class Outcome {
        Exited, // the tool ended by itself; exitCode holds its status
        Crashed, // the tool was killed by a signal
        Cancelled, // the user cancelled and the tool was stopped
        StartFailed, // the tool could not be started
        Aborted, // the run could not follow the tool (cancel could not stop it)
    };
    Outcome outcome = Outcome::StartFailed;
    int exitCode = -1;

    [[nodiscard]] bool Succeeded() const { return outcome == Outcome::Exited && exitCode == 0; }
};

} // namespace downloader

// Carried by CToolRunner::finished, also through queued connections and QSignalSpy.
Q_DECLARE_METATYPE(downloader::RunResult)
