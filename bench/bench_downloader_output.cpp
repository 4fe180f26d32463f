// The output area under a flood: a tool prints ~20 MB of progress lines with backspaces.
// Measures the whole run, the longest time the window went without answering (a 5 ms timer stands in
// for user input), and checks the text arrived in full and in order.
// Peer: the literal procedure, one widget edit per text piece and one per backspace, on the same output.
#include "downloader/core/CToolRunner.h"
#include "downloader/gui/OutputView.h"
#include "ui/QtUiServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextBlock>
#include <QTimer>

#include <cstdio>
#include <string>

using downloader::CToolRunner;
using downloader::IOutputSink;
using downloader::OutputView;
using downloader::QtToolProcessFactory;
using ui::QtUiServices;

namespace {

// The peer: every piece up to a backspace inserted, every backspace a delete of its own.
class LiteralSink final : public IOutputSink
{
public:
    explicit LiteralSink(OutputView& view)
        : m_view(view)
    { }
    bool IsEmpty() const override { return m_view.IsEmpty(); }
    bool EndsWithLineBreak() const override { return m_view.EndsWithLineBreak(); }
    void Append(std::string_view text) override
    {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\b') {
                if (i > start) {
                    m_view.Append(text.substr(start, i - start));
                }
                if (i < text.size() && !m_view.IsEmpty() && !m_view.EndsWithLineBreak()) {
                    m_view.DeleteLast();
                }
                start = i + 1;
            }
        }
    }
    void DeleteLast() override { m_view.DeleteLast(); }

private:
    OutputView& m_view;
};

struct Figures
{
    double seconds = 0;
    qint64 longestGapMs = 0;
    int slowAnswers = 0; // times the window took over 100 ms to answer
    int lines = 0;
    bool inOrder = false;
};

bool CheckText(const OutputView& view, int expectedLines)
{
    const QTextDocument* doc = view.document();
    // Every line reads "block NNNNNNNN: 100%" in order; the last block is the empty one after the final break.
    if (doc->blockCount() != expectedLines + 1) {
        return false;
    }
    int n = 0;
    for (QTextBlock block = doc->begin(); block.isValid() && n < expectedLines; block = block.next(), ++n) {
        if (block.text() != QString::asprintf("block %08d: 100%%", n)) {
            return false;
        }
    }
    return true;
}

Figures Measure(const std::string& bytes, bool literal)
{
    QtUiServices ui;
    OutputView view(ui, nullptr);
    view.resize(500, 400);
    view.show();
    LiteralSink literalSink(view);
    // The peer takes the raw blocks itself, backspaces and all.
    CToolRunner runner(std::string(FLOOD_TOOL_PATH) + " " + bytes, literal ? nullptr : &view, QtToolProcessFactory());
    if (literal) {
        QObject::connect(&runner, &CToolRunner::output, [&](const std::string& block) { literalSink.Append(block); });
    }
    QElapsedTimer gap;
    qint64 longest = 0;
    int slow = 0;
    QTimer input;
    QObject::connect(&input, &QTimer::timeout, [&] {
        const qint64 ms = gap.restart();
        longest = std::max(longest, ms);
        slow += ms > 100 ? 1 : 0;
    });
    QElapsedTimer clock;
    clock.start();
    gap.start();
    input.start(5);
    QEventLoop runEnded;
    QObject::connect(&runner, &CToolRunner::finished, &runEnded, &QEventLoop::quit);
    runner.Start();
    runEnded.exec();
    input.stop();
    Figures figures;
    figures.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    figures.longestGapMs = longest;
    figures.slowAnswers = slow;
    figures.lines = view.document()->blockCount() - 1;
    figures.inOrder = CheckText(view, figures.lines);
    return figures;
}

void Print(const char* name, const Figures& f)
{
    std::printf("%-34s %8.2f s  longest unanswered %5lld ms (%d over 100 ms)  %8d lines  %s\n",
                name,
                f.seconds,
                static_cast<long long>(f.longestGapMs),
                f.slowAnswers,
                f.lines,
                f.inOrder ? "complete, in order" : "WRONG TEXT");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The peer is slow enough that a smaller flood is its default; both sizes can be given.
    const std::string bytes = argc > 1 ? argv[1] : "20000000";
    const std::string peerBytes = argc > 2 ? argv[2] : "2000000";
    std::printf("flood of %s bytes of progress lines with backspaces\n", bytes.c_str());
    Print("Kestrun_boot output area", Measure(bytes, false));
    std::printf("the same lines, %s bytes, for both\n", peerBytes.c_str());
    Print("Kestrun_boot output area", Measure(peerBytes, false));
    Print("peer: one edit per piece/backspace", Measure(peerBytes, true));
    return 0;
}
