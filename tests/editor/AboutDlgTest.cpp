// The About box: its fixed texts, its icon and how it closes.
#include "editor/dialogs/CAboutDlg.h"
#include "editor/views/TreeIcons.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace editor {

class AboutDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void showsFixedTexts()
    {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), "About Tessaro");
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            texts << label->text();
        }
        QVERIFY(texts.contains("Corvane Advanced V2.00"));
        QVERIFY(texts.contains("Any Question, Please Refer To Brisken Team For Help"));
        QCOMPARE(about.findChild<QPushButton*>("okButton")->text(), "OK");
    }

    void showsTheProgramIcon()
    {
        // The icon of the desktop entry, built into the program: every size the theme installs.
        const QIcon icon = ProgramIcon();
        for (const int size : {16, 32, 48, 256}) {
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        }
        CAboutDlg about;
        bool shown = false;
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            shown = shown || (!label->pixmap().isNull() && label->pixmap().size() == QSize(32, 32));
        }
        QVERIFY(shown);
    }

    void closesWithOkEnterAndEscape_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::addRow("enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::addRow("escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
    void closesWithOkEnterAndEscape()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        CAboutDlg about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, static_cast<Qt::Key>(key));
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), result);
    }

    void okButtonCloses()
    {
        CAboutDlg about;
        about.show();
        about.findChild<QPushButton*>("okButton")->click();
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
};

} // namespace editor

QTEST_MAIN(editor::AboutDlgTest)
#include "AboutDlgTest.moc"
