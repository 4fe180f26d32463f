#include "downloader/gui/DownloadDlgContext.h"

namespace downloader {

QString VersionText()
{
    return QString::asprintf(
        "V%d.%d%d%d", KESTRUN_VERSION_MAJOR, KESTRUN_VERSION_MINOR, KESTRUN_VERSION_PATCH, KESTRUN_VERSION_TWEAK);
}

QString AboutText()
{
    return QStringLiteral("Kestrun_boot Application ") + VersionText()
        + QString::asprintf("\r\nBuild %s %s", __DATE__, __TIME__);
}

} // namespace downloader
