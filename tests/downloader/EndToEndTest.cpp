#include "DlgHarness.h"
#include "downloader/gui/EmbeddedTool.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace downloader {

namespace {

// A serial line with nobody at the other end: the tool opens it and waits for the board for ever.
class SilentLine
{
public:
    SilentLine()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_path = QString::fromLocal8Bit(::ptsname(m_master));
        }
    }
    ~SilentLine()
    {
        if (m_master >= 0) {
            ::close(m_master);
        }
    }
    SilentLine(const SilentLine&) = delete;
    SilentLine& operator=(const SilentLine&) = delete;
    const QString& Path() const { return m_path; }

private:
    int m_master = -1;
    QString m_path;
};

// The processes whose parent is this test program.
QStringList ChildProcesses()
{
    QStringList children;
    const QString self = QString::number(::getpid());
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        QFile stat(it.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QString line = QString::fromLatin1(stat.readAll());
        // pid (comm) state ppid ...: the name may hold blanks, so read after its closing parenthesis.
        const QStringList fields = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        if (fields.size() > 1 && fields[1] == self) {
            children << line.left(line.indexOf(QLatin1Char(')')) + 1);
        }
    }
    return children;
}

// A window that extracts and runs the real embedded tool.
void UseRealTool(DlgHarness& h)
{
    h.useToolBytes = false;
    h.toolResource = EmbeddedToolResource();
    h.processFactory = QtToolProcessFactory();
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT
private slots:
    void versionThroughTheCommandField();
    void missingSerialDeviceFails();
    void cancelWhileTheToolWaitsForTheBoard();
    void closingDuringARunDeletesTheToolAfterItStopped();
    void aSecondWindowLeavesTheRunningToolAlone();
};

void EndToEndTest::versionThroughTheCommandField()
{
    DlgHarness h;
    UseRealTool(h);
    CDownloadDlg& dlg = h.Open();
    QVERIFY(QFileInfo(dlg.ToolPath()).isExecutable());
    auto* command = h.Find<QLineEdit>("commandEdit");
    command->setText(QStringLiteral("boot.exe -v"));
    QTest::keyClick(command, Qt::Key_Return);
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.Output(), QStringLiteral("\nboot.exe -v\n\nboot version:v2.4  --20140306\n\nCompleted.\n"));
    QCOMPARE(h.ui.Texts(), QStringList{"Completed!"});
}

void EndToEndTest::missingSerialDeviceFails()
{
    DlgHarness h;
    UseRealTool(h);
    h.portList = "/dev/kestrun-no-such-port;";
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QVERIFY2(h.Output().contains(QStringLiteral("/dev/kestrun-no-such-port")), qPrintable(h.Output()));
    QVERIFY2(h.Output().endsWith(QStringLiteral("\nFailed: the tool ended with exit status 1.\n")),
             qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), (QStringList{kEraseAllQuestion, "Download failed!"}));
}

void EndToEndTest::cancelWhileTheToolWaitsForTheBoard()
{
    SilentLine line;
    QVERIFY(!line.Path().isEmpty());
    DlgHarness h;
    UseRealTool(h);
    h.portList = line.Path().toStdString() + ";";
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    auto* start = h.Find<QPushButton>("startButton");
    QStringList childrenWhileWaiting;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (childrenWhileWaiting.isEmpty() && h.Output().contains(QStringLiteral("please power on"))) {
            childrenWhileWaiting = ChildProcesses();
            QTest::mouseClick(start, Qt::LeftButton);
        }
    });
    watch.start(20);
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    watch.stop();
    QCOMPARE(childrenWhileWaiting.size(), 1);
    QVERIFY2(h.Output().endsWith(QStringLiteral("\n\nCanceled.\nProcess terminated.\n")), qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), QStringList{kEraseAllQuestion});
    QCOMPARE(ChildProcesses(), QStringList());
}

void EndToEndTest::closingDuringARunDeletesTheToolAfterItStopped()
{
    SilentLine line;
    DlgHarness h;
    UseRealTool(h);
    h.portList = line.Path().toStdString() + ";";
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    bool closed = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (!closed && h.Output().contains(QStringLiteral("please power on"))) {
            closed = true;
            h.Close();
        }
    });
    watch.start(20);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    watch.stop();
    QVERIFY(closed);
    QVERIFY(!QFileInfo::exists(dlg.ToolPath()));
    QCOMPARE(ChildProcesses(), QStringList());
    QCOMPARE(h.closingFinished, 1);
    QCOMPARE(h.ui.Texts(), QStringList{kEraseAllQuestion});
}

// A second window in the folder of a window whose tool is running: the tool is neither rewritten (a
// running program cannot be) nor removed when the second window closes first.
void EndToEndTest::aSecondWindowLeavesTheRunningToolAlone()
{
    SilentLine line;
    DlgHarness first;
    UseRealTool(first);
    first.portList = line.Path().toStdString() + ";";
    CDownloadDlg& dlg = first.Open();
    first.Find<QComboBox>("modeList")->setCurrentIndex(5);
    first.ui.QueueAnswer(ui::Answer::Yes);
    auto* start = first.Find<QPushButton>("startButton");
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY(first.Output().contains(QStringLiteral("please power on")));

    DlgHarness second(first.Base());
    UseRealTool(second);
    second.Open();
    QCOMPARE(second.ui.Texts(), QStringList()); // no "创建boot.exe文件失败!"
    QCOMPARE(second.Find<QComboBox>("chipTypeList")->count(), 5);
    auto* command = second.Find<QLineEdit>("commandEdit");
    command->setText(QStringLiteral("boot.exe -v"));
    QTest::keyClick(command, Qt::Key_Return);
    QVERIFY(second.WaitForRunEnd());
    QVERIFY2(second.Output().contains(QStringLiteral("boot version:v2.4")), qPrintable(second.Output()));
    second.Close();
    QVERIFY(QFileInfo(dlg.ToolPath()).isExecutable());
    QVERIFY(first.Dlg().IsRunning());

    QTest::mouseClick(start, Qt::LeftButton); // Cancel
    QVERIFY(first.WaitForRunEnd());
    first.Close();
    QVERIFY(!QFileInfo::exists(dlg.ToolPath()));
    QCOMPARE(ChildProcesses(), QStringList());
}

} // namespace downloader

QTEST_MAIN(downloader::EndToEndTest)
#include "EndToEndTest.moc"
