// Opening a default-database file from the File menu until the list is usable: the window as it
// is (the spreadsheet side copy written afterwards on a worker, from a snapshot) against the
// synchronous way (the side copy written first by reading the file a second time, then the
// import), in the same run, for 200, 8000 and 100000 programs. Also the snapshot's time and memory.
#include "BenchSupport.h"

#include "access/CAccessDbOut.h"
#include "db/CProgDb.h"
#include "editor/CMainFrame.h"
#include "editor/DatabaseSnapshot.h"
#include "editor/SideCopyMonitor.h"
#include "editor/SpreadsheetSideCopy.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

using core::CProgDb;
using editor::CMainFrame;

namespace {
// Answers every file dialog with the file under test; says nothing.
class ScriptedUi final : public ui::UiServices
{
public:
    void ShowMessage(QWidget*, const QString& text, const QString& caption, ui::MessageIcon) override
    {
        std::fprintf(stderr, "unexpected box %s: %s\n", qPrintable(caption), qPrintable(text));
    }
    void ShowMessageWithDetail(
        QWidget* parent, const QString& text, const QString& caption, ui::MessageIcon icon, const QString&) override
    {
        ShowMessage(parent, text, caption, icon);
    }
    ui::Answer Ask(QWidget*, const QString&, const QString&, bool) override { return ui::Answer::No; }
    std::optional<QString> AskFileName(QWidget*, const ui::FileDialogRequest&) override { return file; }
    int ExecDialog(QDialog&) override { return 0; }
    void SetBusy(bool) override { }

    QString file;
};

double Ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double HeapMb()
{
    return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// The list shows every program and the events the open left are handled.
bool MakeUsable(CMainFrame& frame, int programs)
{
    frame.TreeView()->setCurrentItem(frame.TreeView()->topLevelItem(0)); // "All Prog"
    frame.ListView()->viewport()->repaint();
    QApplication::processEvents();
    return frame.ListView()->RowCount() == programs;
}

struct Size
{
    int sats;
    int tps;
    int progs;
};
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QTemporaryDir folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path()); // not the user's Open Recent
    ScriptedUi ui;
    CMainFrame frame(ui);
    frame.resize(1280, 800);
    frame.show();
    QApplication::processEvents();

    std::printf("%-26s %10s %10s %10s %12s %10s %10s\n",
                "file",
                "open (ms)",
                "target",
                "peer (ms)",
                "copy (ms)",
                "snap (ms)",
                "snap (MB)");
    for (const Size size : {Size{2, 20, 200}, Size{20, 800, 8000}, Size{200, 8000, 100000}}) {
        CProgDb db;
        FillLargeDb(db, size.sats, size.tps, size.progs);
        const std::string path = folder.filePath(QString("ch%1.db").arg(size.progs)).toStdString();
        core::CAccessDbOut writer;
        if (!writer.Export(path, db)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        ui.file = QString::fromStdString(path);
        const int runs = size.progs >= 100000 ? 5 : 9;
        std::vector<double> open;
        std::vector<double> copy;
        std::vector<double> peer;
        for (int run = 0; run < runs; ++run) {
            // The window: import, views, snapshot and worker started; usable while the copy runs.
            QElapsedTimer timer;
            timer.start();
            frame.OpenDb();
            const bool usable = MakeUsable(frame, size.progs);
            open.push_back(Ms(timer));
            frame.SideCopies()->WaitForAll();
            copy.push_back(Ms(timer));
            // The peer: the side copy first, from a second read of the file, then the same import.
            timer.restart();
            editor::MakeSpreadsheetSideCopy(path);
            const bool peerUsable = frame.OpenPath(ui.file) && MakeUsable(frame, size.progs);
            peer.push_back(Ms(timer));
            if (!usable || !peerUsable) {
                std::fprintf(stderr, "the list did not show %d programs\n", size.progs);
                return 1;
            }
        }
        const double heapBefore = HeapMb();
        QElapsedTimer timer;
        timer.start();
        const auto snapshot = editor::SnapshotOf(*frame.Database());
        const double snapMs = Ms(timer);
        const double snapMb = HeapMb() - heapBefore;
        std::printf("%-26s %10.1f %10s %10.1f %12.1f %10.2f %10.2f\n",
                    (std::to_string(size.progs) + " programs").c_str(),
                    Median(open),
                    Median(open) <= 500.0 ? "500 OK" : "500 MISSED",
                    Median(peer),
                    Median(copy),
                    snapMs,
                    snapMb);
    }
    std::printf("open: choosing the file to the list of every program shown and the event loop idle (median)\n"
                "peer: the synchronous way, side copy first; copy: open until the worker's copy is written\n");
    return 0;
}
