// The editor's Qt-free helpers: window title, import summary, typed addresses.
#include "TestDatabase.h"
#include "editor/ImportSummary.h"
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
};

} // namespace editor

QTEST_GUILESS_MAIN(editor::EditorHelpersTest)
#include "EditorHelpersTest.moc"
