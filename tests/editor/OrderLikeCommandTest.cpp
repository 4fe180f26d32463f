// Order Like...: the reference's file dialog, the order it gives, the status text, its undo, and
// references that cannot be read.
#include "editor/OrderLikeCommand.h"
#include "TestDatabase.h"
#include "access/CAccessOut.h"
#include "db/CProgNode.h"
#include "edit/CEditHistory.h"
#include "formats/FileFormats.h"
#include "support/FakeUiServices.h"
#include "support/TempDir.h"

#include <QtTest>

using core::CEditHistory;
using core::CProgNode;
using testsupport::FakeUiServices;
using testsupport::TempDir;
using ui::MessageIcon;

namespace editor {

namespace {
struct Fixture
{
    FakeUiServices ui;
    TempDir dir;
    std::unique_ptr<core::CProgDb> db = MakeDatabase(1, 1, 4);
    CEditHistory history{*db};

    QList<int> ProgramOrder() const
    {
        QList<int> ids;
        for (const CProgNode& prog : db->Progs()) {
            ids << prog.Id();
        }
        return ids;
    }
    // A default database (or a workbook) with `programs` programs of the same satellite and
    // transponder, in reverse.
    QString ReversedReference(int programs, bool workbook = false)
    {
        const std::unique_ptr<core::CProgDb> reference = MakeDatabase(1, 1, programs);
        for (int id = 1; id < programs; ++id) {
            (void)reference->Progs().Move(id, id - 1); // before the one that is first now
        }
        if (!workbook) {
            return QString::fromStdString(dir.Write("reference.db", DbFileBytes(*reference)));
        }
        const std::string path = dir.File("reference.xls");
        const std::unique_ptr<core::CAccessOut> writer = core::Format(core::FormatId::Excel).makeWriter();
        return writer->Export(path, *reference) ? QString::fromStdString(path) : QString();
    }
};
} // namespace

class OrderLikeCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void ordersLikeTheReference_data()
    {
        QTest::addColumn<int>("referencePrograms");
        QTest::addColumn<bool>("workbook");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<QString>("status");
        QTest::addRow("every program matched") << 4 << false << QList<int>{3, 2, 1, 0} << "Matched 4 of 4 programs";
        QTest::addRow("two matched, the rest after them")
            << 2 << false << QList<int>{1, 0, 2, 3} << "Matched 2 of 4 programs";
        QTest::addRow("a workbook as the reference")
            << 4 << true << QList<int>{3, 2, 1, 0} << "Matched 4 of 4 programs";
    }
    void ordersLikeTheReference()
    {
        QFETCH(int, referencePrograms);
        QFETCH(bool, workbook);
        QFETCH(QList<int>, order);
        QFETCH(QString, status);
        Fixture f;
        const QString reference = f.ReversedReference(referencePrograms, workbook);
        QVERIFY(!reference.isEmpty());
        f.ui.QueueFile(reference);
        QCOMPARE(RunOrderLike(f.ui, nullptr, f.history), std::optional<QString>(status));
        QCOMPARE(f.ProgramOrder(), order);
        QVERIFY(f.ui.messages.empty());
        QCOMPARE(f.ui.busyCount, 1);
        QVERIFY(!f.ui.IsBusy());
        QCOMPARE(f.ui.fileRequests.size(), std::size_t{1});
        QVERIFY(f.ui.fileRequests[0].mode == ui::FileDialogRequest::Mode::Open);
        QVERIFY(f.ui.fileRequests[0].mustExist);
        QCOMPARE(f.ui.fileRequests[0].filter, std::string(kReferenceFilter));
        QCOMPARE(QString::fromStdString(f.history.UndoName()), "Order Like Reference");
        QVERIFY(f.history.IsModified());
        QVERIFY(f.history.Undo());
        QCOMPARE(f.ProgramOrder(), (QList<int>{0, 1, 2, 3}));
    }

    void cancelledDialogChangesNothing()
    {
        Fixture f;
        f.ui.QueueCancel();
        QCOMPARE(RunOrderLike(f.ui, nullptr, f.history), std::nullopt);
        QVERIFY(f.ui.messages.empty());
        QVERIFY(!f.history.CanUndo());
        QCOMPARE(f.ProgramOrder(), (QList<int>{0, 1, 2, 3}));
    }

    void unreadableReferenceChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addRow("too short") << "reference.db" << QByteArray("Sg8K") << "File size error!";
        QTest::addRow("wrong magic") << "reference.db" << QByteArray(4096, 'x') << "File format error!";
        QTest::addRow("any other extension is read as a database")
            << "reference.txt" << QByteArray(4096, 'x') << "File format error!";
    }
    void unreadableReferenceChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Fixture f;
        f.ui.QueueFile(QString::fromStdString(f.dir.Write(name.toStdString(), bytes.toStdString())));
        QCOMPARE(RunOrderLike(f.ui, nullptr, f.history), std::nullopt);
        QCOMPARE(f.ui.messages.size(), std::size_t{1});
        QCOMPARE(f.ui.messages[0].text, message);
        QCOMPARE(f.ui.messages[0].caption, "Load Error");
        QVERIFY(f.ui.messages[0].icon == MessageIcon::Error);
        QVERIFY(!f.ui.messages[0].underWaitCursor);
        QVERIFY(!f.history.CanUndo());
        QVERIFY(!f.history.IsModified());
        QCOMPARE(f.ProgramOrder(), (QList<int>{0, 1, 2, 3}));
    }
};

} // namespace editor

QTEST_MAIN(editor::OrderLikeCommandTest)
#include "OrderLikeCommandTest.moc"
