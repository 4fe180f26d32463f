#include "editor/CMainFrame.h"
#include "editor/CTessaroApp.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/TreeIcons.h"
#include "ui/QtUiServices.h"

#include <QApplication>
#include <QTimer>

#include <csignal>

namespace {
// --screenshot FILE: show "All Prog" with the first satellite opened, save the window as a
// picture and quit (tools/screenshot.sh runs this under Xvfb for the README).
void ScheduleScreenshot(editor::CMainFrame& frame, const QString& file)
{
    QTimer::singleShot(300, &frame, [&frame, file] {
        editor::CProgBrowseView* tree = frame.TreeView();
        if (tree->topLevelItemCount() > 1) {
            tree->topLevelItem(1)->setExpanded(true);
            if (tree->topLevelItem(1)->childCount() > 0) {
                tree->topLevelItem(1)->child(0)->setExpanded(true);
            }
            tree->setCurrentItem(tree->topLevelItem(0));
        }
    });
    QTimer::singleShot(900, &frame, [&frame, file] {
        frame.grab().save(file);
        QApplication::quit();
    });
}
} // namespace

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A save beyond the file-size limit must fail like a full disk, with its message and with the
    // temporary files removed, instead of ending the program on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication application(argc, argv);
    application.setApplicationName("Corvane");
    application.setWindowIcon(editor::ProgramIcon()); // every window and dialog of the program
    ui::QtUiServices services;
    editor::CTessaroApp app(services);
    if (!app.InitInstance(application.arguments())) {
        return 1;
    }
    const QStringList arguments = application.arguments();
    const qsizetype shot = arguments.indexOf("--screenshot");
    if (shot > 0 && shot + 1 < arguments.size()) {
        ScheduleScreenshot(*app.MainFrame(), arguments.at(shot + 1));
    }
    return application.exec();
}
