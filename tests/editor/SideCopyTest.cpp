// The spreadsheet side copy written on a worker: the same bytes as the copy made in one go, the
// code page and the error slot of the window thread left alone, cancelling.
#include "TestDatabase.h"
#include "access/CAccessDbIn.h"
#include "common/CodePage.h"
#include "common/PendingError.h"
#include "editor/DatabaseSnapshot.h"
#include "editor/SideCopyJob.h"
#include "editor/SpreadsheetSideCopy.h"
#include "excel/CAccessExcelOut.h"
#include "support/TempDir.h"

#include <QDir>
#include <QtTest>

using core::CAccessDbIn;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::InternalCodePage;
using core::PendingError;
using core::ScopedCodePage;
using core::ScopedPendingError;
using core::SetPendingError;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace editor {

namespace {
// A database whose names carry bytes above 0x7F, so the code page shows in the workbook.
std::unique_ptr<CProgDb> NamedDatabase(int sats, int tpsPerSat, int progsPerTp)
{
    auto db = MakeDatabase(sats, tpsPerSat, progsPerTp);
    int n = 0;
    for (CSatNode& sat : db->Sats()) {
        sat.SetName("Sat\xC4\xE8" + std::to_string(n++));
    }
    for (CProgNode& prog : db->Progs()) {
        prog.SetProgName("\xD1\xE0\xE9\xF2 " + std::to_string(n++));
    }
    return db;
}

// Reads a default-database file as the window does.
std::unique_ptr<CProgDb> Read(const std::string& path)
{
    auto db = std::make_unique<CProgDb>();
    CAccessDbIn reader;
    if (!reader.Import(path, *db)) {
        return nullptr;
    }
    return db;
}

QStringList FilesIn(const TempDir& dir)
{
    return QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
} // namespace

class SideCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void snapshotIsACopyOfItsOwn()
    {
        auto db = NamedDatabase(2, 2, 3);
        (void)db->Progs().Move(5, 0); // an order other than the ids'
        (void)db->Tps().Delete(1);
        const auto snapshot = SnapshotOf(*db);
        const auto ids = [](const auto& list) {
            QList<QPair<int, int>> out;
            for (const auto& node : list) {
                out << qMakePair(int(node.Id()), int(node.ParentId()));
            }
            return out;
        };
        QCOMPARE(ids(snapshot->Sats()), ids(db->Sats()));
        QCOMPARE(ids(snapshot->Tps()), ids(db->Tps()));
        QCOMPARE(ids(snapshot->Progs()), ids(db->Progs()));
        QVERIFY(snapshot->Progs().Find(5)->Record() == db->Progs().Find(5)->Record());
        db->Progs().Find(5)->SetProgName("changed");
        db->Sats().Clear();
        QVERIFY(snapshot->Progs().Find(5)->ProgName() != "changed");
        QCOMPARE(int(snapshot->Sats().Count()), 2);
    }

    // The copy from the database the window read equals the copy made in one go from the file.
    void workerWritesTheSameBytes_data()
    {
        QTest::addColumn<int>("sats");
        QTest::addColumn<int>("tpsPerSat");
        QTest::addColumn<int>("progsPerTp");
        QTest::addColumn<QString>("codePage");
        QTest::addRow("empty") << 0 << 0 << 0 << "1252";
        QTest::addRow("small, 1252") << 2 << 2 << 5 << "1252";
        QTest::addRow("small, 1251") << 3 << 1 << 4 << "1251";
        QTest::addRow("200 programs, gbk") << 2 << 4 << 25 << "gbk";
        QTest::addRow("8000 programs") << 4 << 20 << 100 << "1252";
    }
    void workerWritesTheSameBytes()
    {
        QFETCH(int, sats);
        QFETCH(int, tpsPerSat);
        QFETCH(int, progsPerTp);
        QFETCH(QString, codePage);
        const ScopedCodePage page(codePage.toStdString());
        QVERIFY(page.Installed());
        auto db = NamedDatabase(sats, tpsPerSat, progsPerTp);
        const std::string bytes = DbFileBytes(*db);
        TempDir one;
        TempDir two;
        const std::string inOne = one.Write("ch.db", bytes);
        const std::string inTwo = two.Write("ch.db", bytes);
        MakeSpreadsheetSideCopy(inOne);
        const auto read = Read(inTwo);
        QVERIFY(read != nullptr);
        SideCopyJob job(SnapshotOf(*read), inTwo + "xls");
        job.Start();
        job.Wait();
        QVERIFY(job.Finished());
        QVERIFY(job.Result().written);
        QCOMPARE(job.Percent(), 100);
        QVERIFY(!ReadFileBytes(inOne + "xls").empty());
        QVERIFY(ReadFileBytes(inTwo + "xls") == ReadFileBytes(inOne + "xls"));
        QCOMPARE(FilesIn(two), QStringList({"ch.db", "ch.dbxls"})); // no temporary file left
    }

    // The code page is the one in force when the job was made, whatever the window thread sets
    // while the copy runs; the window thread's own setting is not touched by the worker.
    void codePageIsCapturedWithTheSnapshot()
    {
        const ScopedCodePage cyrillic("1251");
        auto db = NamedDatabase(4, 10, 100);
        TempDir dir;
        const std::string path = dir.Write("ch.db", DbFileBytes(*db));
        MakeSpreadsheetSideCopy(path); // the reference, under 1251
        const auto reference = ReadFileBytes(path + "xls");
        QVERIFY(std::remove((path + "xls").c_str()) == 0);

        SideCopyJob job(SnapshotOf(*Read(path)), path + "xls");
        job.Start();
        for (const char* other : {"gbk", "1252", "1253", "1250"}) {
            const ScopedCodePage change(other); // as a code-page change in the window would, during the copy
            QVERIFY(change.Installed());
        }
        const ScopedCodePage last("gbk");
        job.Wait();
        QVERIFY(job.Result().written);
        QVERIFY(ReadFileBytes(path + "xls") == reference);
        QCOMPARE(QString::fromStdString(InternalCodePage().charset), "gbk");
        // The code page does show in the workbook: under gbk the same file gives other bytes.
        QVERIFY(std::remove((path + "xls").c_str()) == 0);
        MakeSpreadsheetSideCopy(path);
        QVERIFY(ReadFileBytes(path + "xls") != reference);
    }

    // The worker's failure comes back as its own text; the window thread's slot keeps what it had.
    void failureIsReturnedNotLeftPending()
    {
        const ScopedPendingError scope;
        auto db = NamedDatabase(1, 1, 3);
        TempDir dir;
        const std::string target = dir.File("missing/ch.dbxls");
        std::string expected;
        {
            const ScopedPendingError direct;
            core::CAccessExcelOut writer;
            QVERIFY(!writer.Export(target, *db));
            expected = PendingError().text;
        }
        QVERIFY(!expected.empty());
        SetPendingError("left by an earlier step");
        SideCopyJob job(SnapshotOf(*db), target);
        job.Start();
        job.Wait();
        QVERIFY(!job.Result().written);
        QVERIFY(!job.Result().cancelled);
        QCOMPARE(QString::fromStdString(job.Result().text), QString::fromStdString(expected));
        QCOMPARE(QString::fromStdString(PendingError().text), "left by an earlier step");
        QCOMPARE(PendingError().pending, 1);
    }

    void cancelledCopyWritesNothing()
    {
        auto db = NamedDatabase(2, 10, 50);
        TempDir dir;
        const std::string target = dir.File("ch.dbxls");
        SideCopyJob job(SnapshotOf(*db), target);
        job.Cancel(); // before the first row: the copy stops there
        job.Start();
        job.Wait();
        QVERIFY(job.Result().cancelled);
        QVERIFY(!job.Result().written);
        QVERIFY(job.Result().text.empty());
        QVERIFY(FilesIn(dir).isEmpty());
        QVERIFY(!PendingError().pending);
    }

    // A job that goes while its copy runs stops it: the workbook is either whole or absent, and no
    // temporary file is left.
    void droppedJobLeavesNoPartialFile()
    {
        auto db = NamedDatabase(2, 50, 200);
        TempDir dir;
        const std::string target = dir.File("ch.dbxls");
        {
            SideCopyJob job(SnapshotOf(*db), target);
            job.Start();
            QTest::qWait(5);
        }
        const QStringList left = FilesIn(dir);
        QVERIFY(left.isEmpty() || left == QStringList{"ch.dbxls"});
        if (!left.isEmpty()) {
            SideCopyJob again(SnapshotOf(*db), dir.File("again.dbxls"));
            again.Start();
            again.Wait();
            QVERIFY(ReadFileBytes(target) == ReadFileBytes(dir.File("again.dbxls")));
        }
    }
};

} // namespace editor

QTEST_MAIN(editor::SideCopyTest)
#include "SideCopyTest.moc"
