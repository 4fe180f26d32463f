#include "downloader/core/QtToolProcess.h"

#include <QStringList>

namespace downloader {

namespace {

// How long a killed tool may take to be reaped.
constexpr int kTerminateWaitMs = 5000;
// How long the system may take to report that the program started or could not.
constexpr int kStartWaitMs = 10000;

} // namespace

ToolProcessFactory QtToolProcessFactory()
{
    return [] { return std::make_unique<QtToolProcess>(); };
}

QtToolProcess::QtToolProcess()
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardInputFile(QProcess::nullDevice());
    const auto notify = [this] {
        if (m_activity) {
            m_activity();
        }
    };
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, notify);
    QObject::connect(&m_process, &QProcess::finished, notify);
    QObject::connect(&m_process, &QProcess::errorOccurred, notify);
}

QtToolProcess::~QtToolProcess()
{
    m_activity = nullptr;
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kTerminateWaitMs);
    }
}

bool QtToolProcess::Start(const std::string& program, const std::vector<std::string>& arguments, std::string& reason)
{
    QStringList args;
    for (const std::string& argument : arguments) {
        args << QString::fromStdString(argument);
    }
    m_process.start(QString::fromStdString(program), args, QIODevice::ReadOnly);
    m_started = m_process.waitForStarted(kStartWaitMs);
    if (!m_started) {
        reason = m_process.errorString().toStdString();
    }
    return m_started;
}

bool QtToolProcess::HasOutput() const
{
    return m_process.bytesAvailable() > 0;
}

std::string QtToolProcess::Read(std::size_t maxBytes)
{
    const QByteArray bytes = m_process.read(static_cast<qint64>(maxBytes));
    return bytes.toStdString();
}

bool QtToolProcess::HasEnded() const
{
    return !m_started || m_process.state() == QProcess::NotRunning;
}

bool QtToolProcess::Terminate()
{
    if (m_process.state() == QProcess::NotRunning) {
        return true;
    }
    m_process.kill();
    return m_process.waitForFinished(kTerminateWaitMs) || m_process.state() == QProcess::NotRunning;
}

int QtToolProcess::ExitCode() const
{
    return m_process.exitCode();
}

bool QtToolProcess::Crashed() const
{
    return m_process.exitStatus() == QProcess::CrashExit;
}

void QtToolProcess::SetActivityCallback(std::function<void()> callback)
{
    m_activity = std::move(callback);
}

} // namespace downloader
