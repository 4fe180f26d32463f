// Find as the user types: "nilesat 7w" entered one key at a time into the toolbar's Find field
// over "All Prog" of a database of 200 satellites, 8000 transponders and 100000 programs,
// offscreen. Each keystroke is timed from the key event to the list repainted. The peer, in the
// same run, is the plain filter (Ctrl+F, ProgName == a name) over the same list, and for
// comparison a QSortFilterProxyModel doing a case-blind fixed-string match on the same cells.
#include "BenchSupport.h"
#include "BenchUiSupport.h"

#include "db/CProgDb.h"
#include "editor/FindCommands.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/FindField.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;
using editor::CProgBrowseView;
using editor::CProgListView;
using editor::FindCommands;
using editor::ListKind;

namespace {
constexpr int kSats = 200;
constexpr int kTps = 8000;
constexpr int kProgs = 100000;
constexpr double kTargetMs = 50.0; // per keystroke
constexpr const char* kTyped = "nilesat 7w";

// Program names as real lists have them: mostly plain, one in 40 on the satellite searched for,
// in varying case.
std::unique_ptr<CProgDb> MakeDb()
{
    auto db = std::make_unique<CProgDb>();
    for (int s = 0; s < kSats; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName(s == 7 ? "Nilesat 7W" : "Satellite " + std::to_string(s));
        db->Sats().Add(std::move(sat));
    }
    for (int t = 0; t < kTps; ++t) {
        auto tp = std::make_unique<CTpNode>(InvalidId, t % kSats);
        tp->SetFrequency(static_cast<std::uint32_t>(10700 + t % 2000));
        tp->SetSymbolRate(27500);
        db->Tps().Add(std::move(tp));
    }
    for (int p = 0; p < kProgs; ++p) {
        auto prog = std::make_unique<CProgNode>(InvalidId, p % kTps);
        std::string name = "Program " + std::to_string(p);
        if (p % 40 == 0) {
            name = (p % 80 == 0 ? "NILESAT 7W " : "Nilesat 7w ") + std::to_string(p);
        }
        prog->SetProgName(name);
        prog->SetServiceId(static_cast<std::uint32_t>(p % 50000));
        db->Progs().Add(std::move(prog));
    }
    return db;
}

void Key(QWidget& target, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&target, &release);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedFilterUi ui("ProgName", "Program 12345"); // the filter dialog's answer
    auto db = MakeDb();

    QMainWindow window;
    QToolBar* toolBar = window.addToolBar("Standard");
    auto* splitter = new QSplitter(&window);
    auto* tree = new CProgBrowseView(splitter);
    auto* list = new CProgListView(ui, splitter);
    window.setCentralWidget(splitter);
    auto* findAction = new QAction("Find", &window);
    auto* showAllAction = new QAction("Show All", &window);
    FindCommands find({toolBar, window.statusBar(), findAction, showAllAction, tree, list}, &window);
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    tree->RebuildTree(db.get());
    list->AttachDatabase(db.get(), nullptr);

    const QString typed = QString::fromLatin1(kTyped);
    const int runs = 7;
    std::vector<std::vector<double>> perKey(static_cast<std::size_t>(typed.size()));
    int found = 0;
    for (int run = 0; run < runs; ++run) {
        find.ShowAll();
        list->AttachDatabase(db.get(), nullptr); // as after opening the file: no name read yet
        list->ShowItems(ListKind::Programs, InvalidId);
        find.Field()->setFocus();
        for (qsizetype i = 0; i < typed.size(); ++i) {
            perKey[static_cast<std::size_t>(i)].push_back(Ms([&] {
                Key(*find.Field(), typed[i]);
                list->viewport()->repaint();
            }));
        }
        found = list->RowCount();
    }
    if (find.Field()->text() != typed) {
        std::fprintf(stderr, "the field holds \"%s\"\n", qPrintable(find.Field()->text()));
        return 1;
    }
    std::printf("find \"%s\" over 100000 programs (200 satellites, 8000 transponders): %d rows found\n", kTyped, found);
    std::vector<double> medians;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const double ms = Median(perKey[static_cast<std::size_t>(i)]);
        medians.push_back(ms);
        std::printf("  key %2d  \"%-10s\"  %7.2f ms\n", static_cast<int>(i + 1), qPrintable(typed.left(i + 1)), ms);
    }
    const double worst = *std::max_element(medians.begin(), medians.end());
    double sum = 0;
    for (const double ms : medians) {
        sum += ms;
    }
    const double mean = sum / static_cast<double>(medians.size());

    // Peer: the plain filter over the same list, once per run.
    std::vector<double> filter;
    for (int run = 0; run < runs; ++run) {
        find.ShowAll();
        list->ShowItems(ListKind::Programs, InvalidId);
        filter.push_back(Ms([&] {
            list->Filter();
            list->viewport()->repaint();
        }));
    }
    const int filtered = list->RowCount();

    // For comparison: a proxy model matching the name column case-blind, key by key.
    find.ShowAll();
    list->ShowItems(ListKind::Programs, InvalidId);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&list->Model());
    proxy.setFilterKeyColumn(2);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    QTableView proxyView;
    proxyView.setModel(&proxy);
    proxyView.resize(1120, 800);
    proxyView.show();
    std::vector<double> proxyKeys;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        proxyKeys.push_back(Ms([&] {
            proxy.setFilterFixedString(typed.left(i + 1));
            proxyView.viewport()->repaint();
        }));
    }

    std::printf("%-46s %8.2f ms (target %3.0f ms %s)\n",
                "find, worst keystroke (median of 7 runs)",
                worst,
                kTargetMs,
                worst <= kTargetMs ? "OK" : "MISSED");
    std::printf("%-46s %8.2f ms\n", "find, mean over the 10 keystrokes", mean);
    std::printf(
        "%-46s %8.2f ms   (%d rows kept)\n", "peer: plain filter, ProgName == a name", Median(filter), filtered);
    std::printf(
        "%-46s %8.2f ms   worst %.2f ms\n",
        "QSortFilterProxyModel, per keystroke (mean)",
        [&] {
            double total = 0;
            for (const double ms : proxyKeys) {
                total += ms;
            }
            return total / static_cast<double>(proxyKeys.size());
        }(),
        *std::max_element(proxyKeys.begin(), proxyKeys.end()));
    return 0;
}
