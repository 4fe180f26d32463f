#include "DlgHarness.h"
#include "boottool/SimulatedBoard.h"
#include "downloader/gui/EmbeddedTool.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace downloader {

namespace {

void UseRealTool(DlgHarness& h, const boottool::SimulatedBoard& board)
{
    h.useToolBytes = false;
    h.toolResource = EmbeddedToolResource();
    h.processFactory = QtToolProcessFactory();
    h.portList = board.DevicePath() + ";";
}

QByteArray Firmware(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    }
    return bytes;
}

} // namespace

// The window runs the real embedded boot.exe against a simulated receiver on a pseudo-terminal.
class EndToEndBoardTest : public QObject
{
    Q_OBJECT
private slots:
    void serialdownShowsProgressToCompletion();
    void flashEraseAllRunsTheLoaderCommand();
};

void EndToEndBoardTest::serialdownShowsProgressToCompletion()
{
    boottool::SimulatedBoard board;
    QVERIFY(!board.DevicePath().empty());
    board.PowerOn();
    DlgHarness h;
    UseRealTool(h, board);
    h.Open();
    // A blank in the path: the file word must reach the loader command as one word.
    const QString path = h.Base() + "main code.bin";
    const QByteArray firmware = Firmware(25'000);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(firmware);
    file.close();
    h.Find<QComboBox>("chipTypeList")->setCurrentIndex(0);
    h.Find<QComboBox>("modeList")->setCurrentIndex(0);
    h.Find<QComboBox>("sectionList")->setCurrentIndex(2);
    h.Find<QLineEdit>("fileEdit")->setText(path);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    const boottool::BoardRecord record = board.Stop();

    const QString output = h.Output();
    QVERIFY2(output.startsWith("\nboot.exe -m kv4410-dvbs-2201 -d " + QString::fromStdString(board.DevicePath())
                               + " -c serialdown 0x00010000 \\\"" + path + "\\\"\n\n"),
             qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("100%\nsend all ok. unit = 251, count = 25000.")), qPrintable(output));
    QVERIFY2(output.endsWith(QStringLiteral("\nCompleted.\n")), qPrintable(output));
    QCOMPARE(h.ui.Texts(), QStringList{"Completed!"});
    QCOMPARE(h.Find<QProgressBar>("progressBar")->value(), 100);
    QVERIFY(!record.commands.empty());
    QCOMPARE(QString::fromStdString(record.commands.front()), QStringLiteral("serialdown 0x00010000 25000"));
    QCOMPARE(record.serialData.size(), std::size_t(1));
    QCOMPARE(QByteArray::fromStdString(record.serialData.front()), firmware);
}

void EndToEndBoardTest::flashEraseAllRunsTheLoaderCommand()
{
    boottool::SimulatedBoard board;
    board.PowerOn();
    DlgHarness h;
    UseRealTool(h, board);
    h.Open();
    h.Find<QComboBox>("chipTypeList")->setCurrentIndex(3);
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    const boottool::BoardRecord record = board.Stop();
    QCOMPARE(record.commands, std::vector<std::string>{"flash eraseall"});
    QVERIFY(record.imageSumOk);
    QVERIFY2(h.Output().contains(QStringLiteral("erase all flash... done")), qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), QStringList{"Completed!"});
}

} // namespace downloader

QTEST_MAIN(downloader::EndToEndBoardTest)
#include "EndToEndBoardTest.moc"
