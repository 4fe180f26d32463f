// The editor's views over a large database (200 satellites, 8000 transponders, 100000 programs),
// offscreen, each beside a peer that does the same job the plain way in the same run.
#include "BenchSupport.h"
#include "BenchUiSupport.h"

#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/TreeIcons.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

using ui::FileDialogRequest;
using ui::MessageIcon;

using editor::CProgBrowseView;
using editor::CProgListView;
using editor::DishImage;
using editor::ListKind;
using editor::ProgListModel;
using editor::SatelliteImage;
using editor::ScreenImage;
using editor::TreeIcon;

using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;

namespace {
constexpr int kSats = 200;
constexpr int kTps = 8000;
constexpr int kProgs = 100000;
constexpr int kBigSatTps = 40; // satellite 0: 40 transponders with 500 programs each
constexpr int kBigTpProgs = 500;

// Satellite 0 carries 20000 programs; the other 80000 are spread over the remaining transponders.
std::unique_ptr<CProgDb> MakeLargeDb()
{
    auto db = std::make_unique<CProgDb>();
    for (int s = 0; s < kSats; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Satellite " + std::to_string(s));
        db->Sats().Add(std::move(sat));
    }
    const int otherTpsPerSat = (kTps - kBigSatTps) / (kSats - 1);
    for (int t = 0; t < kTps; ++t) {
        const int sat = t < kBigSatTps ? 0 : 1 + std::min((t - kBigSatTps) / otherTpsPerSat, kSats - 2);
        auto tp = std::make_unique<CTpNode>(InvalidId, sat);
        tp->SetFrequency(static_cast<std::uint32_t>(10700 + t % 2000));
        tp->SetSymbolRate(27500);
        db->Tps().Add(std::move(tp));
    }
    const int bigProgs = kBigSatTps * kBigTpProgs;
    for (int p = 0; p < kProgs; ++p) {
        const int tp = p < bigProgs ? p / kBigTpProgs : kBigSatTps + (p - bigProgs) % (kTps - kBigSatTps);
        auto prog = std::make_unique<CProgNode>(InvalidId, tp);
        prog->SetProgName("Program " + std::to_string(p));
        prog->SetServiceId(static_cast<std::uint32_t>(p % 50000));
        prog->SetVPID(static_cast<std::uint32_t>(p % 8000));
        prog->SetFavType(static_cast<std::uint32_t>(p) * 2654435761u);
        db->Progs().Add(std::move(prog));
    }
    return db;
}

double ResidentMb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

// One result: our time against its absolute target, and the peer's time for the same job.
void Report(const char* subject, double ms, double targetMs, const char* peer, double peerMs)
{
    std::printf("%-42s %8.2f ms (target %5.0f ms %s)   peer %-34s %9.2f ms\n",
                subject,
                ms,
                targetMs,
                ms <= targetMs ? "OK" : "MISSED",
                peer,
                peerMs);
}

// The tree built by walking the whole transponder list once per satellite, as a plain reading
// of the tree's procedure would.
void RebuildTreeByWalking(QTreeWidget& tree, const CProgDb& db)
{
    tree.setUpdatesEnabled(false);
    tree.clear();
    const QIcon sat = TreeIcon(SatelliteImage);
    const QIcon dish = TreeIcon(DishImage);
    auto* all = new QTreeWidgetItem(&tree, QStringList{"All Prog"});
    all->setIcon(0, TreeIcon(ScreenImage));
    auto* sats = new QTreeWidgetItem(&tree, QStringList{"Sat"});
    for (const CSatNode& s : db.Sats()) {
        auto* satItem = new QTreeWidgetItem(sats, QStringList{QString::fromStdString(s.Name())});
        satItem->setIcon(0, sat);
        for (const CTpNode& tp : db.Tps()) {
            if (tp.ParentId() == s.Id()) {
                auto* tpItem = new QTreeWidgetItem(
                    satItem, QStringList{QString::asprintf("%d-%d-%d", tp.Id(), tp.Frequency(), tp.SymbolRate())});
                tpItem->setIcon(0, dish);
            }
        }
    }
    tree.setUpdatesEnabled(true);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 7;
    ScriptedFilterUi ui("ServiceId", "12345"); // the filter dialog's answer
    auto db = MakeLargeDb();
    core::CEditHistory history(*db);

    QSplitter window;
    auto* tree = new CProgBrowseView(&window);
    auto* list = new CProgListView(ui, &window);
    window.resize(1280, 800);
    window.setSizes({160, 1120});
    window.show();
    QApplication::processEvents();
    list->AttachDatabase(db.get(), &history);

    // "All Prog": rows set up and the first screen painted.
    std::vector<double> allProg;
    for (int i = 0; i < runs; ++i) {
        allProg.push_back(Ms([&] {
            list->ShowItems(ListKind::Programs, InvalidId);
            list->viewport()->repaint();
        }));
    }
    QTableWidget peerTable;
    peerTable.resize(1120, 800);
    peerTable.show();
    const double rssBeforePeer = ResidentMb();
    const double peerAllProg = Ms([&] {
        peerTable.setColumnCount(18);
        peerTable.setRowCount(kProgs);
        int row = 0;
        for (const CProgNode& prog : db->Progs()) {
            for (int column = 0; column < 18; ++column) {
                peerTable.setItem(row,
                                  column,
                                  new QTableWidgetItem(QString::fromStdString(
                                      list->Model().CellText(row, column)))); // owned by the table
            }
            ++row;
            (void)prog;
        }
        peerTable.viewport()->repaint();
    });
    const double peerRss = ResidentMb() - rssBeforePeer;
    Report("show All Prog (100000 rows)", Median(allProg), 150, "QTableWidget, one item per cell", peerAllProg);

    // Memory for the list: a second model over the same rows, measured the same way.
    const double rssBeforeModel = ResidentMb();
    ProgListModel second;
    second.AttachDatabase(db.get());
    second.ShowItems(ListKind::Programs, InvalidId);
    QTableView secondView;
    secondView.setModel(&second);
    secondView.resize(1120, 800);
    secondView.show();
    secondView.viewport()->repaint();
    const double modelRss = ResidentMb() - rssBeforeModel;
    std::printf("%-44s %8.1f MB   peer %-32s %8.1f MB\n",
                "list memory, 100000 x 18 cells",
                modelRss,
                "QTableWidget, one item per cell",
                peerRss);
    peerTable.clear();

    // Tree rebuild.
    std::vector<double> rebuild;
    for (int i = 0; i < runs; ++i) {
        rebuild.push_back(Ms([&] {
            tree->RebuildTree(db.get());
            tree->viewport()->repaint();
        }));
    }
    QTreeWidget peerTree;
    peerTree.show();
    std::vector<double> peerRebuild;
    for (int i = 0; i < 3; ++i) {
        peerRebuild.push_back(Ms([&] {
            RebuildTreeByWalking(peerTree, *db);
            peerTree.viewport()->repaint();
        }));
    }
    Report("rebuild tree (200 sats, 8000 tps)",
           Median(rebuild),
           100,
           "walk of all tps per satellite",
           Median(peerRebuild));

    // Filter over every program.
    std::vector<double> filter;
    for (int i = 0; i < runs; ++i) {
        list->ShowItems(ListKind::Programs, InvalidId);
        filter.push_back(Ms([&] {
            list->Filter();
            list->viewport()->repaint();
        }));
    }
    std::printf("  (filter kept %d rows)\n", list->RowCount());
    list->ShowItems(ListKind::Programs, InvalidId);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&list->Model());
    proxy.setFilterKeyColumn(9);
    std::vector<double> peerFilter;
    for (int i = 0; i < 3; ++i) {
        const QString pattern = i % 2 == 0 ? "^12345$" : "^12346$"; // a new pattern each run: a full refilter
        peerFilter.push_back(Ms([&] { proxy.setFilterRegularExpression(pattern); }));
    }
    Report("filter 100000 rows (ServiceId == 12345)",
           Median(filter),
           200,
           "QSortFilterProxyModel, same cells",
           Median(peerFilter));

    // Deleting satellite 0 with its 40 transponders and 20000 programs, then the tree rebuild.
    std::vector<double> remove;
    std::vector<double> peerRemove;
    for (int i = 0; i < runs; ++i) {
        auto fresh = MakeLargeDb();
        tree->RebuildTree(fresh.get());
        core::CEditHistory freshHistory(*fresh);
        list->AttachDatabase(fresh.get(), &freshHistory);
        list->ShowItems(ListKind::Satellites, InvalidId);
        list->selectRow(0);
        remove.push_back(Ms([&] {
            list->DeleteSelected();
            tree->viewport()->repaint();
            list->viewport()->repaint();
        }));
        if (fresh->Progs().Count() != kProgs - kBigSatTps * kBigTpProgs) {
            std::fprintf(stderr, "delete left %u programs\n", fresh->Progs().Count());
        }
        auto plain = MakeLargeDb();
        peerRemove.push_back(Ms([&] {
            // One RemoveByParent walk of the program list per transponder of the satellite.
            (void)plain->Sats().Delete(0); // satellite 0 exists in the large database
            for (const CTpNode& tp : plain->Tps()) {
                if (tp.ParentId() == 0) {
                    plain->Progs().RemoveByParent(tp.Id());
                }
            }
            plain->Tps().RemoveByParent(0);
        }));
        // The views go back to the lasting database while this run's database and history still exist.
        tree->RebuildTree(db.get());
        list->AttachDatabase(db.get(), &history);
    }
    Report("delete satellite with 20000 programs",
           Median(remove),
           100,
           "RemoveByParent per transponder",
           Median(peerRemove));
    return 0;
}
