#include "downloader/core/DownloadProfile.h"
#include "downloader/gui/CDownloadDlg.h"
#include "downloader/gui/EmbeddedTool.h"
#include "ui/QtUiServices.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSettings>

using downloader::CDownloadDlg;
using downloader::DownloadDlgContext;
using downloader::kProfileApplication;
using downloader::kProfileOrganisation;
using ui::QtUiServices;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QIcon icon; // the icon of the desktop entry, for every window of the program
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QString(":/icons/org.corvane.KestrunBoot-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    // A window closed during a run has its tool still to stop: the program ends on ClosingFinished.
    QApplication::setQuitOnLastWindowClosed(false);
    QtUiServices ui;
    DownloadDlgContext context;
    context.baseDir = QDir::currentPath() + QLatin1Char('/');
    context.ui = &ui;
    context.discovery = downloader::SystemHostDiscovery();
    context.toolResource = downloader::EmbeddedToolResource;
    context.processFactory = downloader::QtToolProcessFactory();
    context.openSettings = [] {
        return std::make_unique<QSettings>(QString::fromUtf8(kProfileOrganisation),
                                           QString::fromUtf8(kProfileApplication));
    };
    CDownloadDlg dialog(std::move(context));
    QObject::connect(&dialog, &CDownloadDlg::ClosingFinished, &app, &QApplication::quit, Qt::QueuedConnection);
    dialog.show();
    return QApplication::exec();
}
