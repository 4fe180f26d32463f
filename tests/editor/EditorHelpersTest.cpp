// The editor's Qt-free helpers: window title, import summary, typed addresses.
#include "TestDatabase.h"
#include "editor/ImportSummary.h"
#include "editor/RecentFiles.h"
#include "editor/WindowTitle.h"
#include "editor/dialogs/HexAddress.h"

#include <QtTest>

namespace editor {

class EditorHelpersTest : public QObject
{
    Q_OBJECT

private slots:
    void windowTitle_data()
    {
        QTest::addColumn<QList<int>>("product");
        QTest::addColumn<QList<int>>("file");
        QTest::addColumn<QString>("title");
        QTest::addRow("this build") << QList<int>{2, 0, 0, 0} << QList<int>{11, 12, 30, 12}
                                    << "Corvane V2.000 Build 11123012 -- For Vemtrix(Small Endian)";
        QTest::addRow("single digits padded in build only")
            << QList<int>{1, 2, 3, 4} << QList<int>{1, 2, 3, 4}
            << "Corvane V1.234 Build 01020304 -- For Vemtrix(Small Endian)";
        QTest::addRow("wide parts not cut") << QList<int>{10, 11, 0, 65535} << QList<int>{2026, 0, 100, 9}
                                            << "Corvane V10.11065535 Build 20260010009 -- For Vemtrix(Small Endian)";
    }
    void windowTitle()
    {
        QFETCH(QList<int>, product);
        QFETCH(QList<int>, file);
        QFETCH(QString, title);
        const auto record = [](const QList<int>& parts) {
            return VersionRecord{static_cast<std::uint16_t>(parts[0]),
                                 static_cast<std::uint16_t>(parts[1]),
                                 static_cast<std::uint16_t>(parts[2]),
                                 static_cast<std::uint16_t>(parts[3])};
        };
        QCOMPARE(QString::fromStdString(BuildWindowTitle(record(product), record(file))), title);
    }

    void buildCarriesItsVersionRecord()
    {
        QCOMPARE(QString::fromStdString(BuildWindowTitle(ProductVersion(), FileVersion())),
                 "Corvane V2.000 Build 11123012 -- For Vemtrix(Small Endian)");
    }

    void importSummary_data()
    {
        QTest::addColumn<int>("sats");
        QTest::addColumn<int>("tps");
        QTest::addColumn<int>("progs");
        QTest::addColumn<QString>("summary");
        QTest::addRow("plural") << 3 << 2 << 5 << "3 satellites, 6 transponders, 30 programs";
        QTest::addRow("singular") << 1 << 1 << 1 << "1 satellite, 1 transponder, 1 program";
        QTest::addRow("nothing") << 0 << 0 << 0 << "0 satellites, 0 transponders, 0 programs";
    }
    void importSummary()
    {
        QFETCH(int, sats);
        QFETCH(int, tps);
        QFETCH(int, progs);
        QFETCH(QString, summary);
        QCOMPARE(QString::fromStdString(ImportSummary(*MakeDatabase(sats, tps, progs))), summary);
    }

    void hexAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("address");
        QTest::addRow("list entry") << "110000" << 0x110000u;
        QTest::addRow("lower-case digits") << "1a0000" << 0x1A0000u;
        QTest::addRow("with prefix") << "0x1a0000" << 0x1A0000u;
        QTest::addRow("upper prefix") << "0X1A0000" << 0x1A0000u;
        QTest::addRow("leading blanks") << "  \t120000" << 0x120000u;
        QTest::addRow("stops at non-digit") << "12g45" << 0x12u;
        QTest::addRow("no digit") << "zz" << 0u;
        QTest::addRow("zero") << "0" << 0u;
        QTest::addRow("prefix only") << "0x" << 0u;
        QTest::addRow("prefix then junk") << "0xg1" << 0u;
        QTest::addRow("largest") << "FFFFFFFF" << 0xFFFFFFFFu;
        QTest::addRow("too large saturates") << "123456789" << 0xFFFFFFFFu;
        QTest::addRow("many leading zeros") << "000000000000110000" << 0x110000u;
        QTest::addRow("trailing blanks") << "140000  " << 0x140000u;
    }
    void hexAddress()
    {
        QFETCH(QString, text);
        QFETCH(uint, address);
        QCOMPARE(ParseHexAddress(text.toStdString()), address);
    }

    void recentFilesNewestFirstAtMostEight()
    {
        RecentFiles recent;
        for (int i = 0; i < 10; ++i) {
            recent.Opened(RecentFile{"/f" + std::to_string(i), core::FormatId::Db, std::nullopt});
        }
        recent.Opened(RecentFile{"/f4", core::FormatId::Excel, std::nullopt}); // again, read as another kind
        recent.Opened(RecentFile{"", core::FormatId::Db, std::nullopt}); // no path: not kept
        QStringList paths;
        for (const RecentFile& file : recent.Files()) {
            paths << QString::fromStdString(file.path);
        }
        QCOMPARE(paths, QStringList({"/f4", "/f9", "/f8", "/f7", "/f6", "/f5", "/f3", "/f2"}));
        QCOMPARE(recent.Files().front().format, core::FormatId::Excel);
        QVERIFY(recent.Remove("/f8"));
        QVERIFY(!recent.Remove("/f8"));
        QCOMPARE(recent.Files().size(), std::size_t(7));
        // Kept as the settings list them, and cut to eight.
        std::vector<RecentFile> stored;
        for (int i = 0; i < 9; ++i) {
            stored.push_back(RecentFile{"/s" + std::to_string(i % 7), core::FormatId::Db, std::nullopt});
        }
        const RecentFiles loaded(stored);
        QCOMPARE(loaded.Files().size(), std::size_t(7)); // /s0 and /s1 were listed twice: the first entry stands
        QCOMPARE(QString::fromStdString(loaded.Files().front().path), "/s0");
        QCOMPARE(QString::fromStdString(loaded.Files().back().path), "/s6");
    }

    void recentFileMenuTexts_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("address"); // -1: none
        QTest::addColumn<QString>("text");
        QTest::addRow("db") << int(core::FormatId::Db) << -1 << "&3 /d/R&&D ch.db (Db)";
        QTest::addRow("workbook") << int(core::FormatId::Excel) << -1 << "&3 /d/R&&D ch.db (Excel)";
        QTest::addRow("user db") << int(core::FormatId::UserDb) << 0x110000 << "&3 /d/R&&D ch.db (User Db at 0x110000)";
        QTest::addRow("user db, auto") << int(core::FormatId::UserDb) << 0 << "&3 /d/R&&D ch.db (User Db, Auto)";
        QTest::addRow("user db 2.5") << int(core::FormatId::UserDb25) << 0x120000
                                     << "&3 /d/R&&D ch.db (User Db 2.5 at 0x120000)";
    }
    void recentFileMenuTexts()
    {
        QFETCH(int, format);
        QFETCH(int, address);
        QFETCH(QString, text);
        RecentFile file{"/d/R&D ch.db", core::FormatId(format), std::nullopt};
        if (address >= 0) {
            file.address = std::uint32_t(address);
        }
        QCOMPARE(QString::fromStdString(RecentFiles::MenuText(2, file)), text);
        const auto id = core::FormatId(format);
        QCOMPARE(RecentFiles::FormatFromWord(RecentFiles::FormatWord(id)), std::optional<core::FormatId>(id));
        QVERIFY(!RecentFiles::FormatFromWord("spreadsheet"));
    }
};

} // namespace editor

QTEST_GUILESS_MAIN(editor::EditorHelpersTest)
#include "EditorHelpersTest.moc"
