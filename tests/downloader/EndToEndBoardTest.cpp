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

QString WriteFirmware(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
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
    void everyFileNameReachesTheBoard_data();
    void everyFileNameReachesTheBoard();
    void netdownWithoutAnStbIp();
    void netdownTheBoardCannotFetchFails();
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
                               + " -c serialdown 0x00010000 \"\\\"" + path + "\\\"\"\n\n"),
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
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    const boottool::BoardRecord record = board.Stop();
    QCOMPARE(record.commands, std::vector<std::string>{"flash eraseall"});
    QVERIFY(record.imageSumOk);
    QVERIFY2(h.Output().contains(QStringLiteral("erase all flash... done")), qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), (QStringList{kEraseAllQuestion, "Completed!"}));
}

void EndToEndBoardTest::everyFileNameReachesTheBoard_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("two blanks in a row") << "main  code.bin";
    QTest::addRow("a quote") << "say \"hi\".bin";
    QTest::addRow("a semicolon and a tab") << "a;b\tc.bin";
}

void EndToEndBoardTest::everyFileNameReachesTheBoard()
{
    QFETCH(QString, name);
    boottool::SimulatedBoard board;
    board.PowerOn();
    DlgHarness h;
    UseRealTool(h, board);
    h.Open();
    const QByteArray firmware = Firmware(3000);
    const QString path = WriteFirmware(h.Base() + name, firmware);
    QVERIFY(!path.isEmpty());
    h.Find<QComboBox>("modeList")->setCurrentIndex(0);
    h.Find<QComboBox>("sectionList")->setCurrentIndex(2);
    h.Find<QLineEdit>("fileEdit")->setText(path);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    const boottool::BoardRecord record = board.Stop();
    QCOMPARE(h.ui.Texts(), QStringList{"Completed!"});
    // The tool read the very file: its size is in the loader command and its bytes went to the board.
    QCOMPARE(record.commands, std::vector<std::string>{"serialdown 0x00010000 3000"});
    QCOMPARE(record.serialData.size(), std::size_t(1));
    QCOMPARE(QByteArray::fromStdString(record.serialData.front()), firmware);
}

// An empty STB IP leaves -s out: the tool gives the board the PC's address plus one, and the board
// fetches the file from the address the window chose; the window follows the download's progress.
void EndToEndBoardTest::netdownWithoutAnStbIp()
{
    boottool::SimulatedBoard board;
    board.PowerOn();
    DlgHarness h;
    UseRealTool(h, board);
    h.adapters = {"127.0.0.1"};
    h.Open();
    const QByteArray firmware = Firmware(3000);
    const QString path = WriteFirmware(h.Base() + "app image.bin", firmware);
    h.Find<QComboBox>("modeList")->setCurrentIndex(1);
    h.Find<QComboBox>("sectionList")->setCurrentIndex(2);
    h.Find<QLineEdit>("fileEdit")->setText(path);
    h.Find<QLineEdit>("stbIpEdit")->clear();
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    const boottool::BoardRecord record = board.Stop();
    QVERIFY2(h.Output().startsWith("\nboot.exe -m kv4410-dvbs-2201 -d " + QString::fromStdString(board.DevicePath())
                                   + " -c netdown -p 127.0.0.1 0x00010000 \"\\\"" + path + "\\\"\"\n\n"),
             qPrintable(h.Output()));
    QCOMPARE(record.commands,
             (std::vector<std::string>{"config ip 127.0.0.2",
                                       "config tftpport 2000",
                                       "partition download 0x00010000 127.0.0.1 \"" + path.toStdString() + "\""}));
    QCOMPARE(record.tftpFiles.size(), std::size_t(1));
    QCOMPARE(QByteArray::fromStdString(record.tftpFiles.front()), firmware);
    QVERIFY2(h.Output().contains(QStringLiteral("100%\nsend all ok. count = 3000.")), qPrintable(h.Output()));
    QCOMPARE(h.Find<QProgressBar>("progressBar")->value(), 100);
    QCOMPARE(h.ui.Texts(), QStringList{"Completed!"});
}

// The board's prompt came back but it never got the file: the window says so instead of "Completed!".
void EndToEndBoardTest::netdownTheBoardCannotFetchFails()
{
    boottool::BoardScript script;
    script.fetchAnother = "not/the/file.bin";
    boottool::SimulatedBoard board(script);
    board.PowerOn();
    DlgHarness h;
    UseRealTool(h, board);
    h.adapters = {"127.0.0.1"};
    h.Open();
    const QString path = WriteFirmware(h.Base() + "app.bin", Firmware(3000));
    h.Find<QComboBox>("modeList")->setCurrentIndex(1);
    h.Find<QLineEdit>("fileEdit")->setText(path);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    board.Stop();
    QVERIFY2(h.Output().contains("download of " + path + " was not completed, please check.\n"),
             qPrintable(h.Output()));
    QVERIFY2(h.Output().endsWith(QStringLiteral("\nFailed: the tool ended with exit status 1.\n")),
             qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), QStringList{"Download failed!"});
}

} // namespace downloader

QTEST_MAIN(downloader::EndToEndBoardTest)
#include "EndToEndBoardTest.moc"
