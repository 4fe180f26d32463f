#include "boottool/tftp/StrayLineLimiter.h"
#include "CaptureConsole.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

using std::chrono::milliseconds;

// A flood seen second by second: each step lets time pass, sends packets spread over that time, and
// may flush as the listening thread does when its wait for the count runs out.
TEST(StrayLineLimiterTest, TenLinesASecondThenOneCountASecondWhileTheFloodLasts)
{
    struct Step
    {
        const char* name;
        int packets;
        int spreadMs; // the packets come this many milliseconds apart
        int waitMs; // then this much time passes without packets
        bool flush;
        std::string printed; // what the step adds to the output
        int msUntilFlush; // afterwards
    };
    std::string tenLines;
    for (int i = 0; i < 10; ++i) {
        tenLines += "stray\n";
    }
    const std::vector<Step> steps = {
        {"a few packets are all shown", 3, 10, 0, false, "stray\nstray\nstray\n", -1},
        {"a quiet while", 0, 0, 2000, true, "", -1},
        {"a flood: ten lines, the rest counted", 25, 20, 0, false, tenLines, 500},
        {"its second ends: the count", 0, 0, 500, true, "15 more stray packets ignored\n", -1},
        {"it goes on: no lines, only the count", 40, 20, 200, true, "40 more stray packets ignored\n", -1},
        {"it ends half-way through a second", 5, 10, 950, true, "5 more stray packets ignored\n", -1},
        {"a quiet second", 0, 0, 1000, true, "", -1},
        {"a quiet second later, lines again", 2, 10, 0, false, "stray\nstray\n", -1},
    };
    CaptureConsole console;
    StrayLineLimiter::Clock::time_point now{std::chrono::seconds(1000)};
    StrayLineLimiter limiter(console, [&now] { return now; });
    std::size_t shown = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        for (int i = 0; i < step.packets; ++i) {
            limiter.Out("stray\n");
            now += milliseconds(step.spreadMs);
        }
        now += milliseconds(step.waitMs);
        if (step.flush) {
            limiter.Flush();
        }
        const std::string output = console.OutText();
        EXPECT_EQ(output.substr(shown), step.printed);
        shown = output.size();
        EXPECT_EQ(limiter.MsUntilFlush(), step.msUntilFlush);
    }
}

TEST(StrayLineLimiterTest, ACountDueIsPrintedByTheNextPacketToo)
{
    CaptureConsole console;
    StrayLineLimiter::Clock::time_point now{std::chrono::seconds(1000)};
    StrayLineLimiter limiter(console, [&now] { return now; });
    for (int i = 0; i < 12; ++i) {
        limiter.Out("stray\n");
    }
    now += milliseconds(1100); // the flush came late; a packet arrives first
    limiter.Out("stray\n");
    EXPECT_TRUE(console.OutText().ends_with("stray\n2 more stray packets ignored\n"));
    EXPECT_EQ(limiter.MsUntilFlush(), 900); // that packet belongs to a second still flooded
    limiter.FlushPending(); // the server stops: the count so far is not lost
    EXPECT_TRUE(console.OutText().ends_with("2 more stray packets ignored\n1 more stray packets ignored\n"));
    EXPECT_EQ(limiter.MsUntilFlush(), -1);
    limiter.FlushPending(); // nothing more to say
    EXPECT_TRUE(console.OutText().ends_with("2 more stray packets ignored\n1 more stray packets ignored\n"));
    limiter.Err("an error\n");
    EXPECT_EQ(console.ErrText(), "an error\n"); // errors are never held back
}

} // namespace

} // namespace boottool
