#include "DlgHarness.h"
#include "downloader/core/ConfigFile.h"
#include "downloader/core/SegmentTableFile.h"
#include "downloader/gui/CSegmentEditor.h"

#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QTest>

namespace downloader {

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void Unlock(CSegmentEditor* editor)
{
    QTest::keyClick(editor, Qt::Key_K);
    QTest::keyClick(editor, Qt::Key_B);
    QTest::keyClick(editor, Qt::Key_Return);
}

// The editor loses the focus to another control of the window.
void LeaveEditor(CSegmentEditor* editor)
{
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(editor, &focusOut);
}

const QString kFiveSegments
    = QStringLiteral("[Main]\nSegNumber=5\nSeg0=A\nSeg1=B\nSeg2=C\nSeg3=D\nSeg4=E\n[E]\nStartAddr=138800");

} // namespace

class SegmentEditorTest : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWritesTheDefaultTable();
    void existingFileIsShownAndRead();
    void unlockSequence_data();
    void unlockSequence();
    void restoreDefaults();
    void leavingAfterChanges_data();
    void leavingAfterChanges();
    void leavingWithoutChanges_data();
    void leavingWithoutChanges();
    void lockedEditorAsksNothing();
    void enterInTheEditorNeverStartsARun();
};

void SegmentEditorTest::firstStartWritesTheDefaultTable()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    const QByteArray onDisk = ReadAll(dlg.IniPath());
    QCOMPARE(onDisk.size(), 682);
    QCOMPARE(onDisk, QByteArray::fromStdString(ToTextModeBytes(DefaultConfigText())));
    QVERIFY(onDisk.startsWith("[Main]\r\r\nSegNumber=9\r\r\n"));
    QCOMPARE(dlg.Segments().size(), std::size_t(9));
    QCOMPARE(dlg.Segments()[5].name, std::string("Default UsrDB"));
    QCOMPARE(dlg.Segments()[5].start, 0x00138800u);
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    QCOMPARE(editor->toPlainText(), QString::fromStdString(std::string(DefaultConfigText())).replace("\r\n", "\n"));
}

void SegmentEditorTest::existingFileIsShownAndRead()
{
    DlgHarness h;
    QDir().mkpath(h.BootFolder());
    const QByteArray bytes("[Main]\r\nSegNumber=2\r\nSeg0=Boot\r\nSeg1=Fw\r\n[Fw]\r\nStartAddr=138800\r\n"
                           "SegSize = 0x00001000\r\n");
    WriteFile(h.BootFolder() + "/config.ini", bytes);
    CDownloadDlg& dlg = h.Open();
    QCOMPARE(h.Find<CSegmentEditor>("segmentEditor")->toPlainText(),
             QStringLiteral("[Main]\nSegNumber=2\nSeg0=Boot\nSeg1=Fw\n[Fw]\nStartAddr=138800\nSegSize = 0x00001000\n"));
    QCOMPARE(dlg.Segments(), (SegmentTable{{"Boot", 0, 0}, {"Fw", 0x108800, 0x1000}}));
    // The file is left as it was.
    QCOMPARE(ReadAll(dlg.IniPath()), bytes);
}

void SegmentEditorTest::unlockSequence_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("unlocked");
    QTest::addRow("K B Enter") << QList<int>{Qt::Key_K, Qt::Key_B, Qt::Key_Return} << true;
    QTest::addRow("keypad Enter") << QList<int>{Qt::Key_K, Qt::Key_B, Qt::Key_Enter} << true;
    QTest::addRow("other keys between")
        << QList<int>{Qt::Key_Down, Qt::Key_K, Qt::Key_X, Qt::Key_B, Qt::Key_Up, Qt::Key_Return} << true;
    QTest::addRow("repeated first letter") << QList<int>{Qt::Key_K, Qt::Key_K, Qt::Key_B, Qt::Key_Return} << true;
    QTest::addRow("wrong order") << QList<int>{Qt::Key_B, Qt::Key_K, Qt::Key_Return} << false;
    QTest::addRow("no Enter") << QList<int>{Qt::Key_K, Qt::Key_B} << false;
    QTest::addRow("Enter too early") << QList<int>{Qt::Key_K, Qt::Key_Return, Qt::Key_B} << false;
}

void SegmentEditorTest::unlockSequence()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, unlocked);
    DlgHarness h;
    h.Open();
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    const QString before = editor->toPlainText();
    for (const int key : keys) {
        QTest::keyClick(editor, static_cast<Qt::Key>(key));
    }
    QCOMPARE(!editor->IsLocked(), unlocked);
    QCOMPARE(!editor->isReadOnly(), unlocked);
    QCOMPARE(editor->toPlainText(), before); // the keys typed nothing into the table
}

void SegmentEditorTest::restoreDefaults()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    QTest::keyClick(editor, Qt::Key_R, Qt::ControlModifier); // locked: nothing happens
    QVERIFY(h.ui.messages.empty());
    Unlock(editor);
    editor->setPlainText(kFiveSegments);
    WriteFile(dlg.IniPath(), "[Main]\r\nSegNumber=0\r\n");
    QTest::keyClick(editor, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(h.ui.Texts(), QStringList{"Have recovered the default configuration!"});
    QCOMPARE(h.ui.messages[0].caption, QStringLiteral("Information"));
    QCOMPARE(h.ui.messages[0].icon, ui::MessageIcon::Information);
    QVERIFY(editor->IsLocked());
    QVERIFY(editor->isReadOnly());
    QCOMPARE(ReadAll(dlg.IniPath()).size(), 682);
    QCOMPARE(dlg.Segments().size(), std::size_t(9));
    QVERIFY(editor->toPlainText().startsWith(QStringLiteral("[Main]\nSegNumber=9")));
}

void SegmentEditorTest::leavingAfterChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("sections");
    const QStringList nine{
        "All", "Bootload", "Main Code", "Logo", "Common Data", "Default UsrDB", "UsrDB", "SysDB", "Key"};
    QTest::addRow("Yes saves") << static_cast<int>(ui::Answer::Yes) << true << QStringList{"A", "B", "C", "D", "E"};
    QTest::addRow("No restores") << static_cast<int>(ui::Answer::No) << true << nine;
    QTest::addRow("Cancel keeps editing") << static_cast<int>(ui::Answer::Cancel) << false << nine;
}

void SegmentEditorTest::leavingAfterChanges()
{
    QFETCH(int, answer);
    QFETCH(bool, locked);
    QFETCH(QStringList, sections);
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    auto* sectionList = h.Find<QComboBox>("sectionList");
    sectionList->setCurrentIndex(3);
    const QString original = editor->toPlainText();
    Unlock(editor);
    editor->setPlainText(kFiveSegments);
    h.ui.QueueAnswer(static_cast<ui::Answer>(answer));
    LeaveEditor(editor);
    QCOMPARE(h.ui.Texts(), QStringList{"Are you sure to save your changes?"});
    QCOMPARE(h.ui.messages[0].caption, QStringLiteral("Information"));
    QVERIFY(h.ui.messages[0].question && h.ui.messages[0].withCancel);
    QCOMPARE(editor->IsLocked(), locked);
    QStringList names;
    for (int i = 0; i < sectionList->count(); ++i) {
        names << sectionList->itemText(i);
    }
    QCOMPARE(names, sections);
    QCOMPARE(sectionList->currentIndex(), 3); // the selection survives the reload
    const QByteArray onDisk = ReadAll(dlg.IniPath());
    if (answer == static_cast<int>(ui::Answer::Yes)) {
        // The shorter table replaces the file whole: nothing of the longer one is left.
        QCOMPARE(onDisk,
                 QByteArray("[Main]\r\r\nSegNumber=5\r\r\nSeg0=A\r\r\nSeg1=B\r\r\nSeg2=C\r\r\nSeg3=D\r\r\n"
                            "Seg4=E\r\r\n[E]\r\r\nStartAddr=138800"));
        QCOMPARE(dlg.Segments()[4].start, 0x108800u);
    } else {
        QCOMPARE(onDisk.size(), 682);
    }
    QCOMPARE(editor->toPlainText(), answer == static_cast<int>(ui::Answer::No) ? original : kFiveSegments);
}

void SegmentEditorTest::leavingWithoutChanges_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("locked");
    QTest::addRow("Yes locks") << static_cast<int>(ui::Answer::Yes) << true;
    QTest::addRow("No keeps editing") << static_cast<int>(ui::Answer::No) << false;
}

void SegmentEditorTest::leavingWithoutChanges()
{
    QFETCH(int, answer);
    QFETCH(bool, locked);
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    WriteFile(dlg.IniPath(), "[Main]\r\nSegNumber=1\r\nSeg0=Changed elsewhere\r\n");
    Unlock(editor);
    h.ui.QueueAnswer(static_cast<ui::Answer>(answer));
    LeaveEditor(editor);
    QCOMPARE(h.ui.Texts(), QStringList{"Are you sure to cancel editing?"});
    QVERIFY(!h.ui.messages[0].withCancel);
    QCOMPARE(editor->IsLocked(), locked);
    // Nothing is written when nothing changed.
    QCOMPARE(ReadAll(dlg.IniPath()), QByteArray("[Main]\r\nSegNumber=1\r\nSeg0=Changed elsewhere\r\n"));
}

void SegmentEditorTest::lockedEditorAsksNothing()
{
    DlgHarness h;
    h.Open();
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    LeaveEditor(editor);
    QVERIFY(h.ui.messages.empty());
    // Switching to another window is not leaving the editor.
    Unlock(editor);
    QFocusEvent windowSwitch(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(editor, &windowSwitch);
    QVERIFY(h.ui.messages.empty());
}

void SegmentEditorTest::enterInTheEditorNeverStartsARun()
{
    DlgHarness h;
    CDownloadDlg& dlg = h.Open();
    dlg.show();
    h.Find<QComboBox>("modeList")->setCurrentIndex(5);
    auto* editor = h.Find<CSegmentEditor>("segmentEditor");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(h.script->starts, 0);
    QVERIFY(h.ui.messages.empty());
}

} // namespace downloader

QTEST_MAIN(downloader::SegmentEditorTest)
#include "SegmentEditorTest.moc"
