// View > Code Page: the usual code pages with the one in force checked; a choice reads every name
// shown again at once, is kept for the next start (where CORVANE_CODEPAGE still wins) and never
// changes the bytes in the database.
#include "editor/CodePageMenu.h"
#include "FrameHarness.h"
#include "TestDatabase.h"
#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "editor/CMainFrame.h"
#include "editor/FindCommands.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/FindField.h"

#include <QMenu>
#include <QSettings>
#include <QtTest>

using core::CProgDb;
using core::InternalCodePage;
using core::ScopedCodePage;

namespace editor {

namespace {
// "Россия 1" and "НТВ" in code page 1251.
const std::string kRossiya = "\xd0\xee\xf1\xf1\xe8\xff 1";
const std::string kNtv = "\xcd\xd2\xc2";

QAction* EntryFor(const CodePageMenu& menu, const QString& code)
{
    for (QAction* action : menu.Menu()->actions()) {
        if (action->data().toString() == code) {
            return action;
        }
    }
    return nullptr;
}

QStringList CheckedCodes(const CodePageMenu& menu)
{
    QStringList codes;
    for (const QAction* action : menu.Menu()->actions()) {
        if (action->isChecked()) {
            codes << action->data().toString();
        }
    }
    return codes;
}

// Clears CORVANE_CODEPAGE, or sets it, for one scope.
class ScopedEnv
{
public:
    explicit ScopedEnv(const QByteArray& value)
        : m_had(qEnvironmentVariableIsSet("CORVANE_CODEPAGE"))
        , m_previous(qgetenv("CORVANE_CODEPAGE"))
    {
        if (value.isEmpty()) {
            qunsetenv("CORVANE_CODEPAGE");
        } else {
            qputenv("CORVANE_CODEPAGE", value);
        }
    }
    ~ScopedEnv()
    {
        if (m_had) {
            qputenv("CORVANE_CODEPAGE", m_previous);
        } else {
            qunsetenv("CORVANE_CODEPAGE");
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    bool m_had;
    QByteArray m_previous;
};
} // namespace

class CodePageMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void menuListsTheUsualCodePagesWithTheCurrentChecked()
    {
        const ScopedCodePage page("1252");
        const ScopedEnv env("");
        FrameHarness h;
        const CodePageMenu& menu = *h.Frame().CodePages();
        QCOMPARE(menu.Menu()->title(), "&Code Page");
        QCOMPARE(h.Frame().findChild<QMenu*>("viewMenu")->actions().last(), menu.Menu()->menuAction());
        QStringList codes;
        for (const QAction* action : menu.Menu()->actions()) {
            codes << action->data().toString();
            QVERIFY2(action->isEnabled(), qPrintable(action->text())); // iconv here knows every one of them
        }
        QStringList expected;
        for (int part = 1; part <= 16; ++part) {
            if (part != 12) { // there is no ISO-8859-12
                expected << QString("ISO-8859-%1").arg(part);
            }
        }
        for (int windows = 1250; windows <= 1258; ++windows) {
            expected << QString::number(windows);
        }
        expected << "KOI8-R"
                 << "936"
                 << "950"
                 << "932"
                 << "EUC-KR"
                 << "UTF-8";
        QCOMPARE(codes, expected);
        QCOMPARE(CheckedCodes(menu), QStringList{"1252"});
    }

    void aChoiceRedrawsNamesAndKeepsTheBytes()
    {
        const ScopedCodePage page("1252");
        const ScopedEnv env("");
        FrameHarness h;
        auto db = MakeDatabase(1, 1, 2);
        db->Sats().Find(0)->SetName(kNtv);
        db->Progs().Find(1)->SetProgName(kRossiya);
        h.Open(*db);
        h.SatRootItem()->setExpanded(true);
        h.Choose(h.AllProgItem());
        ProgListModel& model = h.List().Model();
        const QString inWestern = QString::fromStdString(core::InternalToUtf8(kRossiya));
        QCOMPARE(model.index(1, 2).data().toString(), inWestern);
        QVERIFY(inWestern != QString::fromUtf8("Россия 1"));
        h.Frame().Find()->Field()->setText(QString::fromUtf8("россия"));
        QCOMPARE(model.rowCount(), 0); // not while the bytes are read as Western letters

        QAction* cyrillic = EntryFor(*h.Frame().CodePages(), "1251");
        QVERIFY(cyrillic != nullptr);
        cyrillic->trigger();
        QCOMPARE(InternalCodePage().number, 1251);
        QCOMPARE(CheckedCodes(*h.Frame().CodePages()), QStringList{"1251"});
        // The find text now meets the name; the list and the tree read the names anew.
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, 2).data().toString(), QString::fromUtf8("Россия 1"));
        QCOMPARE(h.SatItem(0)->text(0), QString::fromUtf8("НТВ"));
        QVERIFY(h.SatRootItem()->isExpanded()); // the tree keeps its shape
        QCOMPARE(h.Tree().currentItem(), h.AllProgItem());
        // The database holds the same bytes as before.
        QCOMPARE(h.Frame().Database()->Progs().Find(1)->ProgName(), kRossiya);
        QCOMPARE(h.Frame().Database()->Sats().Find(0)->Name(), kNtv);
        QVERIFY(h.Frame().History() == nullptr || !h.Frame().History()->IsModified());
        QVERIFY(h.ui.messages.empty());
    }

    void theChoiceIsKeptForTheNextStart_data()
    {
        QTest::addColumn<QByteArray>("env");
        QTest::addColumn<int>("atStart");
        QTest::addRow("no variable: the saved choice") << QByteArray() << 1251;
        QTest::addRow("the variable wins") << QByteArray("936") << 936;
    }
    void theChoiceIsKeptForTheNextStart()
    {
        QFETCH(QByteArray, env);
        QFETCH(int, atStart);
        const ScopedCodePage page("1252");
        testsupport::TempDir settings;
        {
            const ScopedEnv none("");
            FrameHarness first(settings.Path());
            QVERIFY(first.Frame().CodePages()->Choose("1251"));
            QCOMPARE(QSettings("Tessaro", "Corvane").value("View/CodePage").toString(), "1251");
            QVERIFY(!first.Frame().CodePages()->Choose("no-such-code-page"));
            QCOMPARE(InternalCodePage().number, 1251);
        }
        // As a fresh process has it: the variable's code page, else the default.
        QVERIFY(core::SetInternalCodePage(env.isEmpty() ? std::string("1252") : env.toStdString()));
        const ScopedEnv variable(env);
        FrameHarness second(settings.Path());
        QCOMPARE(InternalCodePage().number, atStart);
        QCOMPARE(CheckedCodes(*second.Frame().CodePages()), QStringList{QString::number(atStart)});
    }
};

} // namespace editor

QTEST_MAIN(editor::CodePageMenuTest)
#include "CodePageMenuTest.moc"
