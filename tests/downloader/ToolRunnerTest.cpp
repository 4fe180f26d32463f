#include "ScriptedProcess.h"
#include "downloader/core/CToolRunner.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <optional>

namespace downloader {

namespace {

class StringSink final : public IOutputSink
{
public:
    bool IsEmpty() const override { return text.empty(); }
    bool EndsWithLineBreak() const override { return text.back() == '\n'; }
    void Append(std::string_view piece) override { text += piece; }
    void DeleteLast() override { text.pop_back(); }
    std::string text;
};

std::string FakeTool()
{
    return FAKE_TOOL_PATH;
}

// Starts the run and handles events until it reports its end; none when it has not ended in time.
std::optional<RunResult> RunToEnd(CToolRunner& runner)
{
    constexpr int kLongestRunMs = 30000;
    QSignalSpy finished(&runner, &CToolRunner::finished);
    runner.Start();
    if (!finished.wait(kLongestRunMs) || finished.size() != 1) {
        return std::nullopt;
    }
    return finished.first().first().value<RunResult>();
}

} // namespace

class ToolRunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void realToolOutput_data();
    void realToolOutput();
    void missingProgramReportsTheReason();
    void cancelStopsASilentToolQuickly();
    void cancelStopsAToolThatNeverPauses();
    void scriptedBlocksKeepTheirOrder();
    void terminateFailureIsReported();
    void startFailureWithoutAReason();
    void signalsOfARun_data();
    void signalsOfARun();
};

void ToolRunnerTest::realToolOutput_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("exitCode");
    const int exited = static_cast<int>(RunResult::Outcome::Exited);
    QTest::addRow("backspaces replace progress") << "progress"
                                                 << "60%\n"
                                                 << exited << 0;
    QTest::addRow("prompt is cut") << "prompt"
                                   << "done\r\n"
                                   << exited << 0;
    QTest::addRow("last lines before exit") << "exit 3"
                                            << "last line 1\nlast line 2" << exited << 3;
    QTest::addRow("error output merged") << "stderr"
                                         << "out\nerr\n"
                                         << exited << 0;
    // The file word of the front-end reaches the tool with its quotes; a quoted path with blanks is split.
    QTest::addRow("C-runtime split") << "args \\\"/fw/app.bin\\\" \"two words\" a\\\\\"b c\""
                                     << "<\"/fw/app.bin\">\n<two words>\n<a\\b c>\n"
                                     << exited << 0;
    QTest::addRow("crash") << "crash"
                           << "about to fail\n"
                           << static_cast<int>(RunResult::Outcome::Crashed) << -1;
}

void ToolRunnerTest::realToolOutput()
{
    QFETCH(QString, arguments);
    QFETCH(QString, expected);
    QFETCH(int, outcome);
    QFETCH(int, exitCode);
    StringSink sink;
    CToolRunner runner(FakeTool() + " " + arguments.toStdString(), &sink, QtToolProcessFactory());
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    QCOMPARE(QString::fromStdString(sink.text), expected);
    QCOMPARE(static_cast<int>(result->outcome), outcome);
    if (exitCode >= 0) {
        QCOMPARE(result->exitCode, exitCode);
    }
}

void ToolRunnerTest::missingProgramReportsTheReason()
{
    StringSink sink;
    CToolRunner runner("/nonexistent/boot.exe -h", &sink, QtToolProcessFactory());
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    QCOMPARE(static_cast<int>(result->outcome), static_cast<int>(RunResult::Outcome::StartFailed));
    QVERIFY2(sink.text.starts_with("\r\nError creating process\r\n"), sink.text.c_str());
    QVERIFY2(sink.text.find("No such file or directory") != std::string::npos, sink.text.c_str());
    QVERIFY(sink.text.ends_with("\r\n"));
}

void ToolRunnerTest::cancelStopsASilentToolQuickly()
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    StringSink sink;
    CToolRunner runner(FakeTool() + " wait " + pidFile.toStdString(), &sink, QtToolProcessFactory());
    QElapsedTimer clock;
    // Cancel once the tool is waiting, then measure how long the runner takes to stop it.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!runner.CancelRequested() && sink.text.find("waiting for the board") != std::string::npos) {
            clock.start();
            runner.Cancel();
        }
    });
    watch.start(5);
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(static_cast<int>(result->outcome), static_cast<int>(RunResult::Outcome::Cancelled));
    QCOMPARE(QString::fromStdString(sink.text),
             QStringLiteral("waiting for the board\n\r\n\r\nCanceled.\r\nProcess terminated.\r\n"));
    // About 100 ms at most; the margin is for a loaded machine, a cancel that waited for the tool takes 60 s.
    qInfo("cancel took %lld ms", static_cast<long long>(elapsed));
    QVERIFY2(elapsed < 300, QByteArray::number(elapsed));
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t pid = file.readAll().toInt();
    QVERIFY(pid > 0);
    QCOMPARE(::kill(pid, 0), -1); // no process left behind
}

void ToolRunnerTest::cancelStopsAToolThatNeverPauses()
{
    StringSink sink;
    CToolRunner runner(FakeTool() + " floodforever", &sink, QtToolProcessFactory());
    QTimer::singleShot(300, [&] { runner.Cancel(); });
    QElapsedTimer clock;
    clock.start();
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    QCOMPARE(static_cast<int>(result->outcome), static_cast<int>(RunResult::Outcome::Cancelled));
    QVERIFY(sink.text.ends_with(CToolRunner::kCanceledText));
    QVERIFY2(clock.elapsed() < 5000, QByteArray::number(clock.elapsed()));
}

void ToolRunnerTest::scriptedBlocksKeepTheirOrder()
{
    auto script = std::make_shared<ProcessScript>();
    script->chunks = {"one ", "50%", "\b\b\b", "60%", std::string(CToolRunner::kBlockBytes + 5, 'x')};
    StringSink sink;
    std::vector<std::size_t> blockSizes;
    CToolRunner runner("/b/boot.exe -m kv4410-dvbs-2201 -c flash eraseall", &sink, ScriptedFactory(script));
    QObject::connect(
        &runner, &CToolRunner::output, [&](const std::string& block) { blockSizes.push_back(block.size()); });
    runner.WriteText("\r\necho\r\n\r\n");
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    QVERIFY(result->Succeeded());
    QCOMPARE(QString::fromStdString(sink.text),
             QStringLiteral("\r\necho\r\n\r\none 60%") + QString(CToolRunner::kBlockBytes + 5, QLatin1Char('x')));
    QCOMPARE(blockSizes, (std::vector<std::size_t>{4, 3, 3, 3, CToolRunner::kBlockBytes, 5}));
    QCOMPARE(script->startedWith,
             (std::vector<std::string>{"/b/boot.exe", "-m", "kv4410-dvbs-2201", "-c", "flash", "eraseall"}));
}

void ToolRunnerTest::terminateFailureIsReported()
{
    auto script = std::make_shared<ProcessScript>();
    script->endsByItself = false;
    script->refusesToStop = true;
    StringSink sink;
    CToolRunner runner("boot.exe", &sink, ScriptedFactory(script));
    QTimer::singleShot(10, [&] { runner.Cancel(); });
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    QCOMPARE(static_cast<int>(result->outcome), static_cast<int>(RunResult::Outcome::Aborted));
    QVERIFY2(sink.text.starts_with("Error terminating process.\r\n"), sink.text.c_str());
}

void ToolRunnerTest::startFailureWithoutAReason()
{
    auto script = std::make_shared<ProcessScript>();
    script->startFails = true;
    script->startFailure.clear();
    StringSink sink;
    CToolRunner runner("boot.exe -h", &sink, ScriptedFactory(script));
    const std::optional<RunResult> result = RunToEnd(runner);
    QVERIFY(result);
    QCOMPARE(static_cast<int>(result->outcome), static_cast<int>(RunResult::Outcome::StartFailed));
    QCOMPARE(QString::fromStdString(sink.text),
             QStringLiteral("\r\nError creating process\r\nNo status because FormatMessage failed.\r\n"));
}

void ToolRunnerTest::signalsOfARun_data()
{
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<bool>("endsByItself");
    QTest::addColumn<bool>("refusesToStop");
    QTest::addColumn<int>("cancels"); // Cancel calls right after Start
    QTest::addColumn<QStringList>("expected"); // "returned" marks the return from Start
    QTest::addRow("tool ends") << false << true << false << 0
                               << QStringList{"started", "returned", "output one", "output two", "finished Exited 0"};
    QTest::addRow("start fails") << true << true << false << 0 << QStringList{"returned", "finished StartFailed -1"};
    QTest::addRow("start fails, cancelled")
        << true << true << false << 1 << QStringList{"returned", "finished StartFailed -1"};
    QTest::addRow("cancelled at once") << false << false << false << 1
                                       << QStringList{"started", "returned", "output one", "finished Cancelled -1"};
    QTest::addRow("cancelled while cancelling")
        << false << false << false << 2 << QStringList{"started", "returned", "output one", "finished Cancelled -1"};
    QTest::addRow("tool will not stop") << false << false << true << 1
                                        << QStringList{"started", "returned", "output one", "finished Aborted -1"};
}

// Start returns before the run reports its end, also when the tool cannot be started; finished comes once.
void ToolRunnerTest::signalsOfARun()
{
    QFETCH(bool, startFails);
    QFETCH(bool, endsByItself);
    QFETCH(bool, refusesToStop);
    QFETCH(int, cancels);
    QFETCH(QStringList, expected);
    auto script = std::make_shared<ProcessScript>();
    script->chunks = {"one", "two"};
    script->startFails = startFails;
    script->endsByItself = endsByItself;
    script->refusesToStop = refusesToStop;
    StringSink sink;
    CToolRunner runner("boot.exe", &sink, ScriptedFactory(script));
    QStringList seen;
    QObject::connect(&runner, &CToolRunner::started, [&] { seen << QStringLiteral("started"); });
    QObject::connect(&runner, &CToolRunner::output, [&](const std::string& text) {
        seen << QStringLiteral("output ") + QString::fromStdString(text);
    });
    QObject::connect(&runner, &CToolRunner::finished, [&](const RunResult& result) {
        static const QStringList kOutcomes{"Exited", "Crashed", "Cancelled", "StartFailed", "Aborted"};
        seen << QStringLiteral("finished %1 %2").arg(kOutcomes[static_cast<int>(result.outcome)]).arg(result.exitCode);
    });
    runner.Start();
    seen << QStringLiteral("returned");
    QCOMPARE(runner.IsRunning(), true);
    for (int i = 0; i < cancels; ++i) {
        runner.Cancel();
    }
    QTRY_VERIFY(!runner.IsRunning());
    QTest::qWait(2 * static_cast<int>(runner.pollInterval)); // nothing more comes after the end
    QCOMPARE(seen, expected);
}

} // namespace downloader

QTEST_GUILESS_MAIN(downloader::ToolRunnerTest)
#include "ToolRunnerTest.moc"
