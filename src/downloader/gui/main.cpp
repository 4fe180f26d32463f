#include "downloader/core/DownloadProfile.h"
#include "downloader/gui/CDownloadDlg.h"
#include "downloader/gui/EmbeddedTool.h"
#include "downloader/gui/UiServices.h"

#include <QApplication>
#include <QDir>
#include <QSettings>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The run keeps the window's events flowing inside the Start handler; the program ends only when
    // the window is closed and that handler has returned.
    QApplication::setQuitOnLastWindowClosed(false);
    QtUiServices ui;
    DownloadDlgContext context;
    context.baseDir = QDir::currentPath() + QLatin1Char('/');
    context.ui = &ui;
    context.discovery = SystemHostDiscovery();
    context.toolResource = EmbeddedToolResource;
    context.processFactory = QtToolProcessFactory();
    context.openSettings = [] {
        return std::make_unique<QSettings>(QString::fromUtf8(kProfileOrganisation),
                                           QString::fromUtf8(kProfileApplication));
    };
    CDownloadDlg dialog(std::move(context));
    QObject::connect(&dialog, &CDownloadDlg::ClosingFinished, &app, &QApplication::quit, Qt::QueuedConnection);
    dialog.show();
    return QApplication::exec();
}
