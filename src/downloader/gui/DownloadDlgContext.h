#pragma once

#include "downloader/core/HostDiscovery.h"
#include "downloader/core/ToolFile.h"
#include "downloader/core/ToolProcess.h"

#include <QString>

#include <functional>
#include <memory>

class QSettings;

namespace ui {
class UiServices;
} // namespace ui

namespace downloader {

// Everything the download dialog takes from outside; the program passes the real services, tests
// their own folder, settings file, fixed host lists and scripted processes.
struct DownloadDlgContext
{
    QString baseDir; // ends with '/'
    ui::UiServices* ui = nullptr; // not owned
    HostDiscovery discovery;
    std::function<ToolResource()> toolResource; // the embedded tool
    ToolProcessFactory processFactory;
    std::function<std::unique_ptr<QSettings>()> openSettings; // the per-user profile store
};

// Version of the program as "V%d.%d%d%d" of its four parts (1.0.1.0 gives V1.010).
QString VersionText();
// The about box text: name, version and build stamp.
QString AboutText();

} // namespace downloader
