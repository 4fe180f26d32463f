#pragma once

#include "downloader/core/ToolProcess.h"

#include <QProcess>

namespace downloader {

// IToolProcess on QProcess: merged channels, standard input closed, environment inherited.
class QtToolProcess final : public IToolProcess
{
public:
    QtToolProcess();
    ~QtToolProcess() override;

    [[nodiscard]] bool
    Start(const std::string& program, const std::vector<std::string>& arguments, std::string& reason) override;
    bool HasOutput() const override;
    std::string Read(std::size_t maxBytes) override;
    bool HasEnded() const override;
    [[nodiscard]] bool Terminate() override;
    int ExitCode() const override;
    bool Crashed() const override;
    void SetActivityCallback(std::function<void()> callback) override;

private:
    QProcess m_process;
    std::function<void()> m_activity;
    bool m_started = false;
};

} // namespace downloader
