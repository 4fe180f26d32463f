#include "DlgHarness.h"
#include "downloader/core/ChipModes.h"
#include "downloader/core/SkinButtonLook.h"
#include "downloader/gui/CSegmentEditor.h"
#include "downloader/gui/CSkinButton.h"
#include "downloader/gui/OutputView.h"
#include "downloader/gui/PortComboBox.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace downloader {

namespace {

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
    }
    return items;
}

ino_t Inode(const QString& path)
{
    struct stat info
    { };
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_ino : 0;
}

void WriteProfile(DlgHarness& h, const QVariantMap& values)
{
    auto settings = h.Settings();
    settings->beginGroup(QStringLiteral("Kestrun_boot"));
    for (auto it = values.begin(); it != values.end(); ++it) {
        settings->setValue(it.key(), it.value());
    }
    settings->endGroup();
}

} // namespace

class DownloadDlgTest : public QObject
{
    Q_OBJECT
private slots:
    void startUpFillsTheWindow();
    void bootFilesAreListedFromTheFolder();
    void profileIsRestoredAndSaved();
    void noSelectionIsKeptAsMinusOne();
    void extractionFailures_data();
    void extractionFailures();
    void visibilityRule_data();
    void visibilityRule();
    void bootFileEnablingRule();
    void receiverAddress_data();
    void receiverAddress();
    void fileChoice_data();
    void fileChoice();
    void validation_data();
    void validation();
    void emptySegmentTableRefusesDownloads();
    void commandLineForEveryChipAndMode();
    void successfulRun();
    void failedRun_data();
    void failedRun();
    void cancelRun();
    void startRightAfterCancelWaitsForTheStoppedRun();
    void runTimeLocking_data();
    void runTimeLocking();
    void commandFieldRunsAndRecalls();
    void escapeNeverCloses();
    void closeWhenIdle();
    void closeDuringRun();
    void runStateEdges_data();
    void runStateEdges();
    void aboutBox();
    void skinButtonLook();
    void serialPortsAreRescannedOnOpen();
    void outputCanBeSavedAndCleared();
    void addressChecks_data();
    void addressChecks();
    void everyFileNameIsOneWord_data();
    void everyFileNameIsOneWord();
    void eraseIsConfirmed_data();
    void eraseIsConfirmed();
    void segmentFit_data();
    void segmentFit();
    void enterNeverStartsARun();
    void serialPortTakesATypedPath();
    void serialPortToolTips();
    void twoWindowsShareTheTool_data();
    void twoWindowsShareTheTool();
};

void DownloadDlgTest::startUpFillsTheWindow()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Kestrun_boot_V1.010"));
    QCOMPARE(Items(h.Find<QComboBox>("chipTypeList")),
             (QStringList{"kv2201", "kv2202", "kv2205", "dvbc-4410", "other"}));
    QCOMPARE(Items(h.Find<QComboBox>("modeList")),
             (QStringList{"serialdown", "netdown", "usbdown", "serialdump", "flash erase", "flash eraseall"}));
    QCOMPARE(Items(h.Find<QComboBox>("serialPortList")), (QStringList{"COM3", "COM12"}));
    QCOMPARE(Items(h.Find<QComboBox>("pcIpList")), (QStringList{"192.168.1.10", "10.0.0.5", "0.0.0.0"}));
    QCOMPARE(h.Find<QLineEdit>("stbIpEdit")->text(), QStringLiteral("192.168.1.11"));
    QCOMPARE(
        Items(h.Find<QComboBox>("sectionList")),
        (QStringList{"All", "Bootload", "Main Code", "Logo", "Common Data", "Default UsrDB", "UsrDB", "SysDB", "Key"}));
    QCOMPARE(h.Find<QComboBox>("sectionList")->currentIndex(), 0);
    QCOMPARE(h.Find<QComboBox>("bootFileList")->count(), 0);
    QVERIFY(!h.Find<QComboBox>("bootFileList")->isEnabled());
    QVERIFY(!h.Find<QLabel>("bootFileLabel")->isEnabled());
    QCOMPARE(h.Find<QPushButton>("startButton")->text(), QStringLiteral("&Start"));
    // Start is no default button: Enter typed anywhere never starts a run.
    QVERIFY(!h.Find<QPushButton>("startButton")->isDefault());
    QVERIFY(!h.Find<QPushButton>("startButton")->autoDefault());
    // The tool is written out as a runnable file; config.ini gets the default table.
    QFile tool(dlg.ToolPath());
    QVERIFY(tool.open(QIODevice::ReadOnly));
    QCOMPARE(tool.readAll(), QByteArray(reinterpret_cast<const char*>(h.toolBytes.data()), 7));
    QCOMPARE(QFileInfo(dlg.ToolPath()).permissions() & 0x7777, QFileDevice::Permissions(0x7755));
    QCOMPARE(QFileInfo(dlg.IniPath()).size(), 682);
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    QVERIFY(editor->IsLocked());
    QVERIFY(editor->isReadOnly());
    QVERIFY(editor->toPlainText().startsWith(QStringLiteral("[Main]\nSegNumber=9\nSeg0=All\n")));
    QVERIFY(h.ui.messages.empty());
}

void DownloadDlgTest::bootFilesAreListedFromTheFolder()
{
    DlgHarness h;
    QDir().mkpath(h.BootFolder() + "/sub.boot.d");
    for (const char* name : {"b.boot", ".boot", "a.boot.bin", "readme.txt", "c.BOOT", "x.bootloader"}) {
        QFile file(h.BootFolder() + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    WriteProfile(h, {{"FIRMWARELIST", 2}, {"CHIPTYPE", 4}});
    h.Open();
    auto* list = h.Find<QComboBox>("bootFileList");
    QCOMPARE(Items(list), (QStringList{"a.boot.bin", "b.boot", "sub.boot.d", "x.bootloader"}));
    QCOMPARE(list->currentIndex(), 2);
    QVERIFY(list->isEnabled());
    QVERIFY(h.Find<QLabel>("bootFileLabel")->isEnabled());
}

void DownloadDlgTest::profileIsRestoredAndSaved()
{
    DlgHarness h;
    h.adapters = {"192.168.1.10", "10.0.0.5"};
    WriteProfile(h, {{"CHIPTYPE", 3}, {"COM", 1}, {"MODE", 1}, {"YAFFS", 1}, {"PCIP", 1}, {"STBIP", "10.0.0.99"}});
    h.Open();
    QCOMPARE(h.Find<QComboBox>("chipTypeList")->currentText(), QStringLiteral("dvbc-4410"));
    QCOMPARE(h.Find<QComboBox>("serialPortList")->currentText(), QStringLiteral("COM12"));
    QCOMPARE(h.Find<QComboBox>("modeList")->currentText(), QStringLiteral("netdown"));
    QVERIFY(h.Find<QCheckBox>("yaffsCheck")->isChecked());
    QCOMPARE(h.Find<QComboBox>("pcIpList")->currentText(), QStringLiteral("10.0.0.5"));
    QCOMPARE(h.Find<QLineEdit>("stbIpEdit")->text(), QStringLiteral("10.0.0.99"));

    h.Find<QComboBox>("modeList")->setCurrentIndex(4);
    h.Find<QCheckBox>("yaffsCheck")->setChecked(false);
    h.Find<QLineEdit>("stbIpEdit")->setText(QStringLiteral("10.0.0.7"));
    h.Close();
    auto settings = h.Settings();
    settings->beginGroup(QStringLiteral("Kestrun_boot"));
    QCOMPARE(settings->value("MODE").toInt(), 4);
    QCOMPARE(settings->value("YAFFS").toInt(), 0);
    QCOMPARE(settings->value("CHIPTYPE").toInt(), 3);
    QCOMPARE(settings->value("COM").toInt(), 1);
    QCOMPARE(settings->value("PCIP").toInt(), 1);
    QCOMPARE(settings->value("FIRMWARELIST").toInt(), -1);
    QCOMPARE(settings->value("STBIP").toString(), QStringLiteral("10.0.0.7"));
}

void DownloadDlgTest::noSelectionIsKeptAsMinusOne()
{
    DlgHarness h;
    WriteProfile(h, {{"COM", -1}, {"PCIP", -1}, {"MODE", -1}});
    h.Open();
    QCOMPARE(h.Find<QComboBox>("serialPortList")->currentIndex(), -1);
    QCOMPARE(h.Find<QComboBox>("pcIpList")->currentIndex(), -1);
    QCOMPARE(h.Find<QComboBox>("modeList")->currentIndex(), -1);
    QVERIFY(h.Find<QLineEdit>("stbIpEdit")->text().isEmpty());
    // With no mode every optional field is hidden, like flash eraseall.
    QVERIFY(h.Find<QComboBox>("sectionList")->isHidden());
    QVERIFY(h.Find<QLineEdit>("fileEdit")->isHidden());
    h.Close();
    auto settings = h.Settings();
    settings->beginGroup(QStringLiteral("Kestrun_boot"));
    QCOMPARE(settings->value("COM").toInt(), -1);
    QCOMPARE(settings->value("PCIP").toInt(), -1);
    QCOMPARE(settings->value("MODE").toInt(), -1);
}

void DownloadDlgTest::extractionFailures_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("message");
    QTest::addRow("not found") << 0 << QStringLiteral("查找资源文件失败!");
    QTest::addRow("not loaded") << 1 << QStringLiteral("装载资源文件失败!");
    QTest::addRow("not created") << 2 << QStringLiteral("创建boot.exe文件失败!");
}

void DownloadDlgTest::extractionFailures()
{
    QFETCH(int, failure);
    QFETCH(QString, message);
    DlgHarness h;
    WriteProfile(h, {{"MODE", 3}, {"STBIP", "1.2.3.4"}});
    h.useToolBytes = failure == 2;
    h.toolResource = ToolResource{failure == 1, nullptr, 0};
    if (failure == 2) {
        // A folder where the tool should go cannot be replaced by a file (a read-only file can, as root).
        QDir().mkpath(h.BootFolder() + "/boot.exe");
    }
    CDownloadDlg& dlg = h.Open();
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].text, message);
    QCOMPARE(h.ui.messages[0].caption, QStringLiteral("提示"));
    QCOMPARE(h.ui.messages[0].icon, ui::MessageIcon::Warning);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Kestrun_boot"));
    for (const char* list : {"chipTypeList", "serialPortList", "modeList", "sectionList", "pcIpList"}) {
        QCOMPARE(h.Find<QComboBox>(list)->count(), 0);
    }
    QVERIFY(h.Find<CSegmentEditor>("segmentEditor")->toPlainText().isEmpty());
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QCOMPARE(h.script->starts, 0);
    h.Close();
    QCOMPARE(h.closingFinished, 1);
    // The saved choices survive a start that never filled the lists.
    auto settings = h.Settings();
    QCOMPARE(settings->value("Kestrun_boot/MODE").toInt(), 3);
    QCOMPARE(settings->value("Kestrun_boot/STBIP").toString(), QStringLiteral("1.2.3.4"));
    if (failure == 2) {
        QVERIFY(QFileInfo(h.BootFolder() + "/boot.exe").isDir());
    }
}

void DownloadDlgTest::visibilityRule_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("shown"); // y yaffs, i addresses, s section, f file, b browse
    QTest::addColumn<bool>("editable");
    QTest::addRow("serialdown") << 0 << "ysfb" << false;
    QTest::addRow("netdown") << 1 << "yisfb" << false;
    QTest::addRow("usbdown") << 2 << "ysf" << true;
    QTest::addRow("serialdump") << 3 << "sfb" << false;
    QTest::addRow("flash erase") << 4 << "s" << false;
    QTest::addRow("flash eraseall") << 5 << "" << false;
}

void DownloadDlgTest::visibilityRule()
{
    QFETCH(int, mode);
    QFETCH(QString, shown);
    QFETCH(bool, editable);
    DlgHarness h;
    h.Open();
    auto* file = h.Find<QLineEdit>("fileEdit");
    auto* modes = h.Find<QComboBox>("modeList");
    modes->setCurrentIndex(mode == 0 ? 2 : 0);
    file->setText(QStringLiteral("/fw/app.bin"));
    modes->setCurrentIndex(mode);
    QVERIFY(file->text().isEmpty()); // changing the mode empties the File field
    const auto check = [&](const char* name, QChar flag) {
        QWidget* widget = h.Find<QWidget>(name);
        QVERIFY2(widget, name);
        QCOMPARE(!widget->isHidden(), shown.contains(flag));
    };
    check("yaffsCheck", 'y');
    for (const char* name : {"pcIpList", "pcIpLabel", "stbIpEdit", "stbIpLabel"}) {
        check(name, 'i');
    }
    check("sectionList", 's');
    check("sectionLabel", 's');
    check("fileEdit", 'f');
    check("fileLabel", 'f');
    check("browseButton", 'b');
    QCOMPARE(file->isReadOnly(), !editable);
}

void DownloadDlgTest::bootFileEnablingRule()
{
    DlgHarness h;
    h.Open();
    auto* chips = h.Find<QComboBox>("chipTypeList");
    for (int i = 0; i < chips->count(); ++i) {
        chips->setCurrentIndex(i);
        const bool other = chips->currentText() == QStringLiteral("other");
        QCOMPARE(h.Find<QComboBox>("bootFileList")->isEnabled(), other);
        QCOMPARE(h.Find<QLabel>("bootFileLabel")->isEnabled(), other);
    }
}

void DownloadDlgTest::receiverAddress_data()
{
    QTest::addColumn<QString>("pc");
    QTest::addColumn<QString>("stb");
    QTest::addRow("next") << "192.168.1.10"
                          << "192.168.1.11";
    QTest::addRow("wraps in the octet") << "192.168.1.255"
                                        << "192.168.1.0";
    QTest::addRow("no lease") << "0.0.0.0"
                              << "0.0.0.1";
}

void DownloadDlgTest::receiverAddress()
{
    QFETCH(QString, pc);
    QFETCH(QString, stb);
    DlgHarness h;
    h.adapters = {"10.9.9.9", pc.toStdString()};
    h.Open();
    h.Find<QComboBox>("pcIpList")->setCurrentIndex(1);
    QCOMPARE(h.Find<QLineEdit>("stbIpEdit")->text(), stb);
}

void DownloadDlgTest::fileChoice_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addRow("serialdown opens") << 0 << "/fw/app.bin"
                                      << "open"
                                      << "/fw/app.bin";
    QTest::addRow("netdown opens") << 1 << "/fw/app"
                                   << "open"
                                   << "/fw/app";
    QTest::addRow("dump gets .bin") << 3 << "/tmp/dump"
                                    << "save"
                                    << "/tmp/dump.bin";
    QTest::addRow("dump keeps a dot anywhere") << 3 << "/tmp/a.b/dump"
                                               << "save"
                                               << "/tmp/a.b/dump";
    QTest::addRow("dump cancelled") << 3 << ""
                                    << "save"
                                    << "";
    QTest::addRow("erase has no file") << 4 << "/x"
                                       << ""
                                       << "";
}

void DownloadDlgTest::fileChoice()
{
    QFETCH(int, mode);
    QFETCH(QString, chosen);
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    DlgHarness h;
    h.ui.QueueFile(chosen); // for whichever dialog the mode shows
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(mode);
    // The button is hidden in the modes without a file; a click that reaches it anyway does nothing.
    QMetaObject::invokeMethod(h.Find<QPushButton>("browseButton"), "click");
    QCOMPARE(h.ui.FileDialogKinds(), dialog.isEmpty() ? QStringList() : QStringList{dialog});
    if (!dialog.isEmpty()) {
        QCOMPARE(h.ui.QtFilters().front(), QStringLiteral("*.bin;*.dat (*.bin *.dat);;(All File) *.*  (*)"));
    }
    QCOMPARE(h.Find<QLineEdit>("fileEdit")->text(), field);
}

void DownloadDlgTest::validation_data()
{
    QTest::addColumn<int>("chip");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");
    QTest::addRow("other without boot file") << 4 << 5 << "Please choose to the bin first!";
    QTest::addRow("serialdown") << 0 << 0 << "Please choose to download files!";
    QTest::addRow("netdown") << 0 << 1 << "Please choose to download files!";
    QTest::addRow("usbdown") << 0 << 2 << "Please input download files!";
    QTest::addRow("serialdump") << 0 << 3 << "Please choose to dump files!";
}

void DownloadDlgTest::validation()
{
    QFETCH(int, chip);
    QFETCH(int, mode);
    QFETCH(QString, message);
    DlgHarness h;
    h.Open();
    h.Find<QComboBox>("chipTypeList")->setCurrentIndex(chip);
    h.Find<QComboBox>("modeList")->setCurrentIndex(mode);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].text, message);
    QCOMPARE(h.ui.messages[0].caption, QStringLiteral("Error"));
    QCOMPARE(h.ui.messages[0].icon, ui::MessageIcon::Warning);
    QCOMPARE(h.script->starts, 0);
    QVERIFY(h.Output().isEmpty());
    QVERIFY(h.Find<QComboBox>("modeList")->isEnabled());
}

void DownloadDlgTest::emptySegmentTableRefusesDownloads()
{
    DlgHarness h;
    QDir().mkpath(h.BootFolder());
    QFile ini(h.BootFolder() + "/config.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Main]\r\nSegNumber=0\r\n");
    ini.close();
    h.Open();
    QCOMPARE(h.Find<QComboBox>("sectionList")->count(), 0);
    h.Find<QComboBox>("modeList")->setCurrentIndex(4);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QCOMPARE(h.ui.Texts(), QStringList{"Please choose a section first!"});
    QCOMPARE(h.ui.messages[0].caption, QStringLiteral("Error"));
    QCOMPARE(h.script->starts, 0);
    // Erasing everything needs no segment; without a table there is no range to name.
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QCOMPARE(h.ui.Texts(), (QStringList{"Please choose a section first!", "Erase the whole flash?"}));
    QCOMPARE(h.script->starts, 1);
}

void DownloadDlgTest::commandLineForEveryChipAndMode()
{
    const QStringList tools{"-m kv4410-dvbs-2201",
                            "-m kv4410-dvbs-2202",
                            "-m kv4410-dvbs-2205",
                            "-m kv4410-dvbc-4410",
                            "-b \"%1boot_file/my.boot\""};
    const QStringList tails{
        " -d COM12 -c serialdown 0x001e0000 \"\\\"/fw/app.bin\\\"\" yaffs",
        " -d COM12 -c netdown -p 10.0.0.5 -s 10.0.0.6 0x001e0000 \"\\\"/fw/app.bin\\\"\" yaffs",
        " -d COM12 -c usbdown 0x001e0000 \"\\\"/fw/app.bin\\\"\" yaffs",
        " -d COM12 -c serialdump 0x001e0000 0x00020000 \"\\\"/fw/app.bin\\\"\"",
        " -d COM12 -c flash erase 0x001e0000 0x00020000",
        " -d COM12 -c flash eraseall",
    };
    for (int chip = 0; chip < tools.size(); ++chip) {
        for (int mode = 0; mode < tails.size(); ++mode) {
            DlgHarness h;
            QDir().mkpath(h.BootFolder());
            QFile(h.BootFolder() + "/my.boot").open(QIODevice::WriteOnly);
            h.Open();
            h.Find<QComboBox>("chipTypeList")->setCurrentIndex(chip);
            h.Find<QComboBox>("serialPortList")->setCurrentIndex(1);
            h.Find<QComboBox>("modeList")->setCurrentIndex(mode);
            h.Find<QComboBox>("sectionList")->setCurrentIndex(8);
            h.Find<QComboBox>("pcIpList")->setCurrentIndex(1);
            h.Find<QCheckBox>("yaffsCheck")->setChecked(true);
            h.Find<QLineEdit>("fileEdit")->setText(mode <= 3 ? QStringLiteral("/fw/app.bin") : QString());
            h.ui.QueueAnswer(ui::Answer::Yes); // the erase modes ask first
            QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
            const QString command = "boot.exe " + QString(tools[chip]).replace("%1", h.Base()) + tails[mode];
            QVERIFY2(h.Output().startsWith("\n" + command + "\n\n"), qPrintable(h.Output()));
            QCOMPARE(h.script->starts, 1);
            QCOMPARE(QString::fromStdString(h.script->startedWith.front()), h.Base() + "boot_file/boot.exe");
        }
    }
}

void DownloadDlgTest::successfulRun()
{
    DlgHarness h;
    h.script->chunks = {"wait ROM request...\n", "\b\b\b00%", "\b\b\b50%", "\b\b\b100%\nsend all ok.\n"};
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.Output(),
             QStringLiteral("\nboot.exe -m kv4410-dvbs-2201 -d COM3 -c flash eraseall\n\n"
                            "wait ROM request...\n100%\nsend all ok.\n\nCompleted.\n"));
    QCOMPARE(h.ui.messages.size(), std::size_t(2));
    QCOMPARE(h.ui.messages[0].text, kEraseAllQuestion);
    QCOMPARE(h.ui.messages[0].caption, kEraseFlashCaption);
    QVERIFY(h.ui.messages[0].question);
    QVERIFY(!h.ui.messages[0].withCancel);
    QCOMPARE(h.ui.messages[1].text, QStringLiteral("Completed!"));
    QCOMPARE(h.ui.messages[1].caption, QStringLiteral("Info"));
    QCOMPARE(h.ui.messages[1].icon, ui::MessageIcon::Information);
    QCOMPARE(h.Find<QProgressBar>("progressBar")->value(), 100);
    QCOMPARE(h.Find<QPushButton>("startButton")->text(), QStringLiteral("&Start"));
    QVERIFY(h.Find<QPushButton>("clearButton")->isEnabled());
    QVERIFY(h.Find<QComboBox>("modeList")->isEnabled());
    QVERIFY(!h.Dlg().IsRunning());
}

void DownloadDlgTest::failedRun_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<bool>("crashes");
    QTest::addColumn<QString>("tail");
    QTest::addRow("exit status 1") << 1 << false << false << "\nFailed: the tool ended with exit status 1.\n";
    QTest::addRow("start failure") << 0 << true << false
                                   << "\nError creating process\nNo such file or directory\n"
                                      "\nFailed: the tool could not be run.\n";
    QTest::addRow("crash") << 0 << false << true << "\nFailed: the tool crashed.\n";
}

void DownloadDlgTest::failedRun()
{
    QFETCH(int, exitCode);
    QFETCH(bool, startFails);
    QFETCH(bool, crashes);
    QFETCH(QString, tail);
    DlgHarness h;
    h.script->exitCode = exitCode;
    h.script->startFails = startFails;
    h.script->crashes = crashes;
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QVERIFY2(h.Output().endsWith(tail), qPrintable(h.Output()));
    QVERIFY(!h.Output().contains(QStringLiteral("Completed")));
    QCOMPARE(h.ui.Texts(), (QStringList{kEraseAllQuestion, "Download failed!"}));
    QCOMPARE(h.ui.messages[1].caption, QStringLiteral("Error"));
    QCOMPARE(h.ui.messages[1].icon, ui::MessageIcon::Warning);
    QCOMPARE(h.Find<QPushButton>("startButton")->text(), QStringLiteral("&Start"));
}

void DownloadDlgTest::cancelRun()
{
    DlgHarness h;
    h.script->endsByItself = false;
    h.script->chunks = {"wait ROM request... please power on or restart the board...\n"};
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    auto* start = h.Find<QPushButton>("startButton");
    bool sawRunningState = false;
    QTimer::singleShot(50, [&] {
        sawRunningState = start->text() == QStringLiteral("&Cancel") && !h.Find<QPushButton>("clearButton")->isEnabled()
            && !h.Find<QComboBox>("modeList")->isEnabled() && h.Dlg().IsRunning();
        QTest::mouseClick(start, Qt::LeftButton);
    });
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QVERIFY(sawRunningState);
    QVERIFY(h.script->terminated);
    QVERIFY2(h.Output().endsWith(QStringLiteral("the board...\n\n\nCanceled.\nProcess terminated.\n")),
             qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), QStringList{kEraseAllQuestion}); // and nothing after the cancel
    QCOMPARE(start->text(), QStringLiteral("&Start"));
    QVERIFY(h.Find<QComboBox>("modeList")->isEnabled());
}

void DownloadDlgTest::startRightAfterCancelWaitsForTheStoppedRun()
{
    DlgHarness h;
    h.script->endsByItself = false;
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    h.ui.QueueAnswer(ui::Answer::Yes);
    auto* start = h.Find<QPushButton>("startButton");
    auto* command = h.Find<QLineEdit>("commandEdit");
    QTimer::singleShot(30, [&] {
        QTest::mouseClick(start, Qt::LeftButton); // Cancel
        QTest::mouseClick(start, Qt::LeftButton); // Start again before the run has returned
        command->setText(QStringLiteral("boot.exe -v"));
        QTest::keyClick(command, Qt::Key_Return);
    });
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.script->starts, 1);
    QVERIFY(h.Output().endsWith(QStringLiteral("\n\nCanceled.\nProcess terminated.\n")));
    // Once it has returned, the next run starts as usual.
    h.script->endsByItself = true;
    h.script->terminated = false;
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(h.script->starts, 2);
    QVERIFY(h.WaitForRunEnd());
    // The start clicked while the cancelled run wound down asked nothing.
    QCOMPARE(h.ui.Texts(), (QStringList{kEraseAllQuestion, kEraseAllQuestion, "Completed!"}));
}

void DownloadDlgTest::runTimeLocking_data()
{
    QTest::addColumn<int>("chip");
    QTest::addColumn<int>("mode");
    QTest::addRow("serialdown") << 0 << 0;
    QTest::addRow("netdown") << 0 << 1;
    QTest::addRow("usbdown, other chip") << 4 << 2;
}

void DownloadDlgTest::runTimeLocking()
{
    QFETCH(int, chip);
    QFETCH(int, mode);
    DlgHarness h;
    QDir().mkpath(h.BootFolder());
    QFile(h.BootFolder() + "/my.boot").open(QIODevice::WriteOnly);
    h.script->endsByItself = false;
    h.Open();
    h.Find<QComboBox>("chipTypeList")->setCurrentIndex(chip);
    h.Find<QComboBox>("modeList")->setCurrentIndex(mode);
    h.Find<QLineEdit>("fileEdit")->setText(QStringLiteral("/fw/app.bin"));
    auto* start = h.Find<QPushButton>("startButton");
    const QStringList alwaysLocked{
        "chipTypeList", "serialPortList", "modeList", "sectionList", "yaffsCheck", "browseButton"};
    QStringList lockedDuringRun;
    bool fileReadOnly = false;
    bool commandFree = false;
    QTimer::singleShot(30, [&] {
        // The Boot File list is disabled anyway unless the chip type is "other".
        const QStringList optional
            = chip == 4 ? QStringList{"bootFileList", "pcIpList", "stbIpEdit"} : QStringList{"pcIpList", "stbIpEdit"};
        for (const QString& name : alwaysLocked + optional) {
            if (!h.Find<QWidget>(qPrintable(name))->isEnabled()) {
                lockedDuringRun << name;
            }
        }
        fileReadOnly = h.Find<QLineEdit>("fileEdit")->isReadOnly();
        commandFree = h.Find<QLineEdit>("commandEdit")->isEnabled() && h.Find<QWidget>("segmentEditor")->isEnabled();
        QTest::mouseClick(start, Qt::LeftButton);
    });
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QStringList expected = alwaysLocked;
    if (chip == 4) {
        expected << "bootFileList";
    }
    if (mode == 1) {
        expected << "pcIpList"
                 << "stbIpEdit";
    }
    QCOMPARE(lockedDuringRun, expected);
    QVERIFY(fileReadOnly);
    QVERIFY(commandFree);
    // Afterwards everything is as before the run.
    for (const QString& name : alwaysLocked + QStringList{"pcIpList", "stbIpEdit"}) {
        QVERIFY2(h.Find<QWidget>(qPrintable(name))->isEnabled(), qPrintable(name));
    }
    QCOMPARE(h.Find<QComboBox>("bootFileList")->isEnabled(), chip == 4);
    QCOMPARE(h.Find<QLineEdit>("fileEdit")->isReadOnly(), mode != 2);
}

void DownloadDlgTest::commandFieldRunsAndRecalls()
{
    DlgHarness h;
    h.Open();
    auto* command = h.Find<QLineEdit>("commandEdit");
    QTest::keyClick(command, Qt::Key_Return); // empty: nothing runs
    QCOMPARE(h.script->starts, 0);
    for (const char* text : {"boot.exe -v", "boot.exe -h", "boot.exe -c flash eraseall", "boot.exe -h"}) {
        command->setText(QString::fromLatin1(text));
        QTest::keyClick(command, Qt::Key_Return);
        QVERIFY(command->text().isEmpty());
        QVERIFY(h.WaitForRunEnd());
    }
    QCOMPARE(h.script->starts, 4);
    QCOMPARE(h.script->startedWith, (std::vector<std::string>{(h.Base() + "boot_file/boot.exe").toStdString(), "-h"}));
    QVERIFY(h.Output().startsWith(QStringLiteral("\nboot.exe -v\n\n\nCompleted.\n\nboot.exe -h\n\n")));
    QCOMPARE(h.Dlg().History().Entries(),
             (std::vector<std::string>{"boot.exe -v", "boot.exe -c flash eraseall", "boot.exe -h"}));
    QStringList shown;
    for (const Qt::Key key :
         {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(command, key);
        shown << command->text();
        QCOMPARE(command->cursorPosition(), command->text().size());
    }
    QCOMPARE(shown,
             (QStringList{"boot.exe -v",
                          "boot.exe -c flash eraseall",
                          "boot.exe -h",
                          "boot.exe -h",
                          "boot.exe -c flash eraseall",
                          "boot.exe -v",
                          "boot.exe -v"}));
}

void DownloadDlgTest::escapeNeverCloses()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QTest::keyClick(h.Find<QLineEdit>("commandEdit"), Qt::Key_Escape);
    QTest::keyClick(h.Find<QWidget>("outputView"), Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QCOMPARE(h.closingFinished, 0);
    QVERIFY(QFileInfo::exists(dlg.ToolPath()));
}

void DownloadDlgTest::closeWhenIdle()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    QVERIFY(QFileInfo::exists(dlg.ToolPath()));
    h.Close();
    QVERIFY(!dlg.isVisible());
    QVERIFY(!QFileInfo::exists(dlg.ToolPath()));
    QCOMPARE(h.closingFinished, 1);
    QVERIFY(h.Settings()->contains(QStringLiteral("Kestrun_boot/CHIPTYPE")));
}

void DownloadDlgTest::closeDuringRun()
{
    DlgHarness h;
    h.script->endsByItself = false;
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    bool toolKeptWhileRunning = false;
    bool stoppedBeforeDelete = false;
    QTimer::singleShot(30, [&] {
        h.Close();
        // The close handler has run inside the run; the tool stops at the runner's next poll.
        toolKeptWhileRunning = h.Dlg().IsRunning();
        stoppedBeforeDelete = !h.script->terminated;
    });
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QVERIFY(toolKeptWhileRunning);
    QVERIFY(stoppedBeforeDelete);
    QVERIFY(h.script->terminated);
    QVERIFY(!QFileInfo::exists(dlg.ToolPath()));
    QCOMPARE(h.closingFinished, 1);
    QCOMPARE(h.ui.Texts(), QStringList{kEraseAllQuestion}); // nothing is reported to a window that has gone
}

void DownloadDlgTest::runStateEdges_data()
{
    QTest::addColumn<QString>("tool"); // "waits", "ends" or "fails"
    // Done one after the other, at once: "start" and "click" click the Start/Cancel button, "enter" types
    // a command, "close" closes the window, "pause" waits for the pause after the run.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("closings");
    QTest::addColumn<bool>("toolKept");
    QTest::addColumn<int>("starts");
    const QString canceled = QStringLiteral("\n\nCanceled.\nProcess terminated.\n");
    const QString completed = QStringLiteral("\nCompleted.\n");
    const QStringList none;
    QTest::addRow("cancel while cancelling") << "waits" << QStringList{"start", "click", "click", "enter", "click"}
                                             << "Idle" << canceled << none << 0 << true << 1;
    QTest::addRow("start in the pause after a cancel")
        << "waits" << QStringList{"start", "click", "pause", "click", "enter"} << "Idle" << canceled << none << 0
        << true << 1;
    QTest::addRow("cancel in the pause after a run") << "ends" << QStringList{"start", "pause", "click"} << "Idle"
                                                     << completed << QStringList{"Completed!"} << 0 << true << 1;
    QTest::addRow("close during a run") << "waits" << QStringList{"start", "close"} << "Closed" << canceled << none << 1
                                        << false << 1;
    QTest::addRow("close twice during a run")
        << "waits" << QStringList{"start", "close", "close"} << "Closed" << canceled << none << 1 << false << 1;
    QTest::addRow("close while cancelling")
        << "waits" << QStringList{"start", "click", "close"} << "Closed" << canceled << none << 1 << false << 1;
    QTest::addRow("close in the pause after a run") << "ends" << QStringList{"start", "pause", "close"} << "Closed"
                                                    << completed << QStringList{"Completed!"} << 1 << false << 1;
    QTest::addRow("close while idle") << "ends" << QStringList{"close"} << "Closed"
                                      << "" << none << 1 << false << 0;
    QTest::addRow("start failure") << "fails" << QStringList{"start"} << "Idle"
                                   << "\nFailed: the tool could not be run.\n"
                                   << QStringList{"Download failed!"} << 0 << true << 1;
    // The failure is reported from the event loop, so a click can come first: the run then counts as cancelled.
    QTest::addRow("start failure, cancelled at once") << "fails" << QStringList{"start", "click"} << "Idle"
                                                      << "\nError creating process\nNo such file or directory\n"
                                                      << none << 0 << true << 1;
}

void DownloadDlgTest::runStateEdges()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, actions);
    QFETCH(QString, state);
    QFETCH(QString, tail);
    QFETCH(QStringList, messages);
    QFETCH(int, closings);
    QFETCH(bool, toolKept);
    QFETCH(int, starts);
    DlgHarness h;
    h.script->endsByItself = tool != QStringLiteral("waits");
    h.script->startFails = tool == QStringLiteral("fails");
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes); // for the run "start" begins; no other click reaches the question
    auto* start = h.Find<QPushButton>("startButton");
    auto* command = h.Find<QLineEdit>("commandEdit");
    for (const QString& action : actions) {
        if (action == QStringLiteral("start") || action == QStringLiteral("click")) {
            QTest::mouseClick(start, Qt::LeftButton);
        } else if (action == QStringLiteral("enter")) {
            command->setText(QStringLiteral("boot.exe -v"));
            QTest::keyClick(command, Qt::Key_Return);
        } else if (action == QStringLiteral("close")) {
            h.Close();
        } else {
            QTRY_VERIFY(dlg.State() == RunState::Finishing || dlg.State() == RunState::Cancelled);
        }
    }
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(QString::fromUtf8(RunStateName(dlg.State())), state);
    QVERIFY2(h.Output().endsWith(tail), qPrintable(h.Output()));
    QCOMPARE(h.Output().count(QStringLiteral("Canceled.")), tail.contains(QStringLiteral("Canceled.")) ? 1 : 0);
    QCOMPARE(h.ui.Texts(),
             actions.contains(QStringLiteral("start")) ? QStringList{kEraseAllQuestion} + messages : messages);
    QCOMPARE(h.closingFinished, closings);
    QCOMPARE(QFileInfo::exists(dlg.ToolPath()), toolKept);
    QCOMPARE(h.script->starts, starts);
    QCOMPARE(h.script->terminated, tail == QStringLiteral("\n\nCanceled.\nProcess terminated.\n"));
    QCOMPARE(start->text(), QStringLiteral("&Start"));
    QVERIFY(h.Find<QPushButton>("clearButton")->isEnabled());
    QVERIFY(h.Find<QComboBox>("modeList")->isEnabled());
}

void DownloadDlgTest::aboutBox()
{
    DlgHarness h;
    h.Open();
    QTest::mouseClick(h.Find<QPushButton>("aboutButton"), Qt::LeftButton);
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    const QRegularExpression text(QStringLiteral(
        R"(^Kestrun_boot Application V1\.010\r\nBuild [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$)"));
    QVERIFY2(text.match(h.ui.messages[0].text).hasMatch(), qPrintable(h.ui.messages[0].text));
    QCOMPARE(h.ui.messages[0].caption, QStringLiteral("关于 Kestrun_boot"));
    QCOMPARE(h.Find<QPushButton>("aboutButton")->text(), QStringLiteral("关于 Kestrun_boot(&A)..."));
}

void DownloadDlgTest::skinButtonLook()
{
    DlgHarness h;
    h.Open();
    auto* button = h.Find<CSkinButton>("clearButton");
    button->resize(60, 40);
    QImage plain = button->grab().toImage();
    // Row 3 of the face (row 4 of the button) is band 3 * 64 / 38 = 5: 254, 254, 254.
    QCOMPARE(QColor(plain.pixel(30, 4)), QColor(254, 254, 254));
    const Rgb low = SkinBandColour(SkinBandForRow(35, 38), false);
    QCOMPARE(QColor(plain.pixel(30, 36)), QColor(low.r, low.g, low.b));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    QVERIFY(button->IsHovered());
    QImage hovered = button->grab().toImage();
    QCOMPARE(QColor(hovered.pixel(2, 20)), QColor(250, 196, 88));
    QCOMPARE(QColor(hovered.pixel(57, 20)), QColor(251, 202, 106));
    QCOMPARE(QColor(hovered.pixel(30, 2)), QColor(252, 210, 121));
    QCOMPARE(QColor(hovered.pixel(30, 38)), QColor(229, 151, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    QVERIFY(!button->IsHovered());
}

void DownloadDlgTest::serialPortsAreRescannedOnOpen()
{
    DlgHarness h;
    h.Open();
    auto* ports = h.Find<PortComboBox>("serialPortList");
    ports->setCurrentIndex(1);
    const int scans = h.portScans;
    h.portList = "/dev/ttyUSB0;COM12;";
    ports->showPopup();
    ports->hidePopup();
    QCOMPARE(h.portScans, scans + 1);
    QCOMPARE(Items(ports), (QStringList{"/dev/ttyUSB0", "COM12"}));
    QCOMPARE(ports->currentText(), QStringLiteral("COM12"));
}

void DownloadDlgTest::outputCanBeSavedAndCleared()
{
    DlgHarness h;
    h.script->chunks = {"line 1\nline 2\n"};
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    auto* output = h.Find<OutputView>("outputView");
    const QString path = h.Base() + "saved.txt";
    h.ui.QueueFile(path);
    QVERIFY(output->SaveToFile());
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.readAll()), h.Output());
    h.ui.QueueFile(h.Base() + "no/such/folder/x.txt");
    QVERIFY(!output->SaveToFile());
    QCOMPARE(h.ui.messages.back().caption, QStringLiteral("Error"));
    QTest::mouseClick(h.Find<QPushButton>("clearButton"), Qt::LeftButton);
    QVERIFY(h.Output().isEmpty());
}

void DownloadDlgTest::addressChecks_data()
{
    QTest::addColumn<QStringList>("adapters");
    QTest::addColumn<QString>("stbIp");
    QTest::addColumn<QString>("message"); // empty: the run starts
    QTest::addColumn<QString>("addresses"); // of the command line
    QTest::addRow("both given") << QStringList{"192.168.1.10"} << "192.168.1.77"
                                << ""
                                << " -p 192.168.1.10 -s 192.168.1.77";
    // The tool derives the receiver's address itself; no other word moves into the place of -s.
    QTest::addRow("empty STB IP") << QStringList{"192.168.1.10"} << ""
                                  << ""
                                  << " -p 192.168.1.10";
    QTest::addRow("leading zeros and blanks") << QStringList{"192.168.1.10"} << " 192.168.001.020 "
                                              << ""
                                              << " -p 192.168.1.10 -s 192.168.1.20";
    QTest::addRow("STB IP out of range") << QStringList{"192.168.1.10"} << "192.168.1.300"
                                         << "Please input a valid STB IP!"
                                         << "";
    QTest::addRow("STB IP not dotted") << QStringList{"192.168.1.10"} << "0x00010000"
                                       << "Please input a valid STB IP!"
                                       << "";
    QTest::addRow("PC IP in a short form") << QStringList{"10.1"} << "10.0.0.6"
                                           << "Please input a valid PC IP!"
                                           << "";
    QTest::addRow("no PC IP at all") << QStringList{} << "10.0.0.6"
                                     << "Please input a valid PC IP!"
                                     << "";
}

void DownloadDlgTest::addressChecks()
{
    QFETCH(QStringList, adapters);
    QFETCH(QString, stbIp);
    QFETCH(QString, message);
    QFETCH(QString, addresses);
    DlgHarness h;
    h.adapters.clear();
    for (const QString& adapter : adapters) {
        h.adapters.push_back(adapter.toStdString());
    }
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(1);
    h.Find<QLineEdit>("fileEdit")->setText(QStringLiteral("/fw/app.bin"));
    h.Find<QLineEdit>("stbIpEdit")->setText(stbIp);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    if (!message.isEmpty()) {
        QCOMPARE(h.ui.Texts(), QStringList{message});
        QCOMPARE(h.ui.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(h.ui.messages[0].icon, ui::MessageIcon::Warning);
        QCOMPARE(h.script->starts, 0);
        QVERIFY(h.Output().isEmpty());
        return;
    }
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.script->starts, 1);
    const QString command
        = "boot.exe -m kv4410-dvbs-2201 -d COM3 -c netdown" + addresses + " 0x00000000 \"\\\"/fw/app.bin\\\"\"";
    QVERIFY2(h.Output().startsWith("\n" + command + "\n\n"), qPrintable(h.Output()));
    QCOMPARE(h.ui.Texts(), QStringList{"Completed!"});
}

void DownloadDlgTest::everyFileNameIsOneWord_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("word"); // the argument the tool gets
    QTest::addRow("plain") << "/fw/app.bin"
                           << "\"/fw/app.bin\"";
    QTest::addRow("two blanks in a row") << "/fw/my  app.bin"
                                         << "\"/fw/my  app.bin\"";
    QTest::addRow("a quote") << "/fw/say \"hi\".bin"
                             << "\"/fw/say \\\"hi\\\".bin\"";
    QTest::addRow("a semicolon") << "/fw/a;b.bin"
                                 << "\"/fw/a;b.bin\"";
}

void DownloadDlgTest::everyFileNameIsOneWord()
{
    QFETCH(QString, file);
    QFETCH(QString, word);
    DlgHarness h;
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(0);
    h.Find<QComboBox>("sectionList")->setCurrentIndex(2);
    h.Find<QLineEdit>("fileEdit")->setText(file);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QStringList arguments;
    for (const std::string& argument : h.script->startedWith) {
        arguments << QString::fromStdString(argument);
    }
    QCOMPARE(arguments,
             (QStringList{h.Base() + "boot_file/boot.exe",
                          "-m",
                          "kv4410-dvbs-2201",
                          "-d",
                          "COM3",
                          "-c",
                          "serialdown",
                          "0x00010000",
                          word}));
}

void DownloadDlgTest::eraseIsConfirmed_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("answer"); // ui::Answer
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("command");
    const QString key = QStringLiteral("Erase Key (0x001e0000\u20130x001fffff)?");
    QTest::addRow("erase, yes") << 4 << int(ui::Answer::Yes) << key << "flash erase 0x001e0000 0x00020000";
    QTest::addRow("erase, no") << 4 << int(ui::Answer::No) << key << "";
    QTest::addRow("erase all, yes") << 5 << int(ui::Answer::Yes) << kEraseAllQuestion << "flash eraseall";
    QTest::addRow("erase all, no") << 5 << int(ui::Answer::No) << kEraseAllQuestion << "";
}

void DownloadDlgTest::eraseIsConfirmed()
{
    QFETCH(int, mode);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QString, command);
    DlgHarness h;
    h.Open();
    h.Find<QComboBox>("modeList")->setCurrentIndex(mode);
    h.Find<QComboBox>("sectionList")->setCurrentIndex(8);
    h.ui.QueueAnswer(static_cast<ui::Answer>(answer));
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.ui.messages.front().text, question);
    QCOMPARE(h.ui.messages.front().caption, kEraseFlashCaption);
    QVERIFY(h.ui.messages.front().question);
    QVERIFY(!h.ui.messages.front().withCancel);
    QCOMPARE(h.script->starts, command.isEmpty() ? 0 : 1);
    if (command.isEmpty()) {
        QCOMPARE(h.ui.Texts(), QStringList{question});
        QVERIFY(h.Output().isEmpty());
    } else {
        QVERIFY2(h.Output().startsWith("\nboot.exe -m kv4410-dvbs-2201 -d COM3 -c " + command + "\n\n"),
                 qPrintable(h.Output()));
    }
}

void DownloadDlgTest::segmentFit_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("answer"); // ui::Answer; unused when nothing is asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("runs");
    QTest::addRow("serialdown too large, no") << 0 << 40000 << int(ui::Answer::No) << true << false;
    QTest::addRow("serialdown too large, yes") << 0 << 40000 << int(ui::Answer::Yes) << true << true;
    QTest::addRow("netdown too large, no") << 1 << 40000 << int(ui::Answer::No) << true << false;
    QTest::addRow("netdown too large, yes") << 1 << 40000 << int(ui::Answer::Yes) << true << true;
    QTest::addRow("fits exactly") << 0 << 32768 << int(ui::Answer::No) << false << true;
    QTest::addRow("dump is never asked") << 3 << 40000 << int(ui::Answer::No) << false << true;
}

void DownloadDlgTest::segmentFit()
{
    QFETCH(int, mode);
    QFETCH(int, size);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, runs);
    DlgHarness h;
    h.Open();
    const QString path = h.Base() + "fw.bin";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'f'));
    file.close();
    h.Find<QComboBox>("modeList")->setCurrentIndex(mode);
    h.Find<QComboBox>("sectionList")->setCurrentIndex(3); // Logo, 0x8000 bytes
    h.Find<QLineEdit>("fileEdit")->setText(path);
    h.ui.QueueAnswer(static_cast<ui::Answer>(answer));
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    const QString question
        = QStringLiteral("The file is %1 bytes, larger than the segment Logo (32768 bytes)!").arg(size);
    QCOMPARE(h.ui.Texts().contains(question), asked);
    if (asked) {
        QCOMPARE(h.ui.messages.front().text, question);
        QCOMPARE(h.ui.messages.front().caption, QStringLiteral("Download anyway?"));
        QVERIFY(h.ui.messages.front().question);
    }
    QCOMPARE(h.script->starts, runs ? 1 : 0);
    QCOMPARE(h.ui.Texts(),
             runs ? (asked ? QStringList{question, "Completed!"} : QStringList{"Completed!"}) : QStringList{question});
}

void DownloadDlgTest::enterNeverStartsARun()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    h.Find<QComboBox>("modeList")->setCurrentIndex(5); // a run would ask its question first
    for (const char* name : {"outputView",
                             "stbIpEdit",
                             "fileEdit",
                             "commandEdit",
                             "serialPortList",
                             "startButton",
                             "chipTypeList",
                             "segmentEditor"}) {
        auto* widget = h.Find<QWidget>(name);
        QVERIFY2(widget, name);
        widget->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(widget, key);
        }
        QVERIFY2(h.ui.messages.empty(), name);
        QCOMPARE(h.script->starts, 0);
        QVERIFY(!dlg.IsRunning());
    }
    // Space on the focused Start button still clicks it, as any button.
    h.ui.QueueAnswer(ui::Answer::Yes);
    h.Find<QWidget>("startButton")->setFocus();
    QTest::keyClick(h.Find<QWidget>("startButton"), Qt::Key_Space);
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.script->starts, 1);
}

void DownloadDlgTest::serialPortTakesATypedPath()
{
    DlgHarness h;
    h.Open();
    auto* ports = h.Find<PortComboBox>("serialPortList");
    QVERIFY(ports->isEditable());
    ports->setEditText(QStringLiteral("/dev/serial/by-id/usb-kestrun port"));
    // Opening the list fetches it afresh and keeps the typed path.
    ports->showPopup();
    ports->hidePopup();
    QCOMPARE(ports->currentText(), QStringLiteral("/dev/serial/by-id/usb-kestrun port"));
    QCOMPARE(Items(ports), (QStringList{"COM3", "COM12"}));
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    h.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(h.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(h.WaitForRunEnd());
    QCOMPARE(h.script->startedWith,
             (std::vector<std::string>{(h.Base() + "boot_file/boot.exe").toStdString(),
                                       "-m",
                                       "kv4410-dvbs-2201",
                                       "-d",
                                       "/dev/serial/by-id/usb-kestrun port",
                                       "-c",
                                       "flash",
                                       "eraseall"}));
    h.Close();
    auto settings = h.Settings();
    QCOMPARE(settings->value("Kestrun_boot/COM").toInt(), -1);
    QCOMPARE(settings->value("Kestrun_boot/COMPATH").toString(), QStringLiteral("/dev/serial/by-id/usb-kestrun port"));
    // The next start shows it again; a listed port chosen later is kept by its index only.
    DlgHarness again(h.Base());
    again.Settings()->setValue("Kestrun_boot/COMPATH", QStringLiteral("/dev/ttyACM3"));
    again.Settings()->setValue("Kestrun_boot/COM", -1);
    again.Open();
    QCOMPARE(again.Find<PortComboBox>("serialPortList")->currentText(), QStringLiteral("/dev/ttyACM3"));
    again.Find<PortComboBox>("serialPortList")->setCurrentIndex(1);
    again.Close();
    QCOMPARE(again.Settings()->value("Kestrun_boot/COM").toInt(), 1);
    QCOMPARE(again.Settings()->value("Kestrun_boot/COMPATH").toString(), QString());
}

void DownloadDlgTest::serialPortToolTips()
{
    DlgHarness h;
    h.portList = "/dev/ttyUSB0;/dev/ttyS0;";
    h.portDetails = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI"}, {"/dev/ttyS0", "", ""}};
    h.Open();
    auto* ports = h.Find<PortComboBox>("serialPortList");
    QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("FT232R USB UART (FTDI)"));
    QVERIFY(ports->itemData(1, Qt::ToolTipRole).toString().isEmpty());
    QCOMPARE(ports->toolTip(), QStringLiteral("FT232R USB UART (FTDI)"));
    ports->setCurrentIndex(1);
    QVERIFY(ports->toolTip().isEmpty());
    ports->setEditText(QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(ports->toolTip(), QStringLiteral("FT232R USB UART (FTDI)"));
    ports->setEditText(QStringLiteral("/dev/pts/7"));
    QVERIFY(ports->toolTip().isEmpty());
}

void DownloadDlgTest::twoWindowsShareTheTool_data()
{
    QTest::addColumn<bool>("firstClosesFirst");
    QTest::addRow("the first window closes first") << true;
    QTest::addRow("the second window closes first") << false;
}

void DownloadDlgTest::twoWindowsShareTheTool()
{
    QFETCH(bool, firstClosesFirst);
    DlgHarness first;
    CDownloadDlg& one = first.Open();
    const QString tool = one.ToolPath();
    const ino_t written = Inode(tool);
    DlgHarness second(first.Base());
    CDownloadDlg& two = second.Open();
    QCOMPARE(two.ToolPath(), tool);
    QVERIFY(first.ui.messages.empty());
    QVERIFY(second.ui.messages.empty()); // the same tool is there: nothing to write, nothing to fail
    QCOMPARE(Inode(tool), written); // the file the first window runs was not replaced
    DlgHarness& closing = firstClosesFirst ? first : second;
    DlgHarness& staying = firstClosesFirst ? second : first;
    closing.Close();
    QCOMPARE(closing.closingFinished, 1);
    QVERIFY(QFileInfo(tool).isExecutable());
    // The other window goes on running the tool.
    staying.Find<QComboBox>("modeList")->setCurrentIndex(5);
    staying.ui.QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(staying.Find<QPushButton>("startButton"), Qt::LeftButton);
    QVERIFY(staying.WaitForRunEnd());
    QCOMPARE(staying.ui.Texts(), (QStringList{kEraseAllQuestion, "Completed!"}));
    staying.Close();
    QVERIFY(!QFileInfo::exists(tool));
}

} // namespace downloader

QTEST_MAIN(downloader::DownloadDlgTest)
#include "DownloadDlgTest.moc"
