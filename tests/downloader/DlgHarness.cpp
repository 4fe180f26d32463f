#include "DlgHarness.h"

#include "downloader/gui/OutputView.h"

#include <QTest>

namespace downloader {

DlgHarness::DlgHarness() = default;

DlgHarness::DlgHarness(QString sharedBase)
    : m_sharedBase(std::move(sharedBase))
{ }

std::unique_ptr<QSettings> DlgHarness::Settings() const
{
    return std::make_unique<QSettings>(m_profile.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
}

CDownloadDlg& DlgHarness::Open()
{
    DownloadDlgContext context;
    context.baseDir = Base();
    context.ui = &ui;
    context.discovery.serialPorts = [this] {
        ++portScans;
        return portList;
    };
    context.discovery.adapterAddresses = [this] { return adapters; };
    context.discovery.serialPortDetails = [this] { return portDetails; };
    context.toolResource = [this] {
        return useToolBytes ? ToolResource{true, toolBytes.data(), toolBytes.size()} : toolResource;
    };
    context.processFactory = processFactory ? processFactory : ScriptedFactory(script);
    const QString profilePath = m_profile.filePath(QStringLiteral("profile.ini"));
    context.openSettings = [profilePath] { return std::make_unique<QSettings>(profilePath, QSettings::IniFormat); };
    m_dlg = std::make_unique<CDownloadDlg>(std::move(context));
    QObject::connect(m_dlg.get(), &CDownloadDlg::ClosingFinished, [this] { ++closingFinished; });
    return *m_dlg;
}

void DlgHarness::Close()
{
    m_dlg->close();
}

bool DlgHarness::WaitForRunEnd()
{
    // The real tool against a simulated board takes a few seconds; a hung run shows as a failure.
    constexpr int kLongestRunMs = 60000;
    return QTest::qWaitFor([this] { return !m_dlg->IsRunning(); }, kLongestRunMs);
}

QString DlgHarness::Output()
{
    return Find<OutputView>("outputView")->toPlainText();
}

} // namespace downloader
