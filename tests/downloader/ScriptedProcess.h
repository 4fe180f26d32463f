#pragma once

#include "downloader/core/ToolProcess.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace downloader {

// What a scripted tool does, shared with the test so it can look at what the runner asked for.
struct ProcessScript
{
    std::deque<std::string> chunks; // output, one chunk per read
    bool endsByItself = true; // false: waits silently until terminated
    int exitCode = 0;
    bool crashes = false;
    bool startFails = false;
    std::string startFailure = "No such file or directory";
    bool refusesToStop = false;

    // Filled in by the process.
    std::vector<std::string> startedWith; // program, then the arguments
    int starts = 0;
    bool terminated = false;
};

// A tool process that plays a script: output is waiting at once, one chunk per read.
class ScriptedProcess final : public IToolProcess
{
public:
    explicit ScriptedProcess(std::shared_ptr<ProcessScript> script);

    [[nodiscard]] bool
    Start(const std::string& program, const std::vector<std::string>& arguments, std::string& reason) override;
    bool HasOutput() const override;
    std::string Read(std::size_t maxBytes) override;
    bool HasEnded() const override;
    [[nodiscard]] bool Terminate() override;
    int ExitCode() const override { return m_script->exitCode; }
    bool Crashed() const override { return m_script->crashes; }
    void SetActivityCallback(std::function<void()>) override { }

private:
    std::shared_ptr<ProcessScript> m_script;
};

// A factory handing out processes that all play the same script.
ToolProcessFactory ScriptedFactory(std::shared_ptr<ProcessScript> script);

} // namespace downloader
