#include "common/PendingError.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace core {

namespace {

TEST(PendingError, SetOverwritesAndClearEmpties)
{
    const ScopedPendingError test;
    EXPECT_EQ(PendingError().pending, 0);
    EXPECT_EQ(PendingErrorOrUnknown(), "Unknown Error!");
    SetPendingError("File size error!");
    SetPendingError("File format error!");
    EXPECT_EQ(PendingError().pending, 1);
    EXPECT_EQ(PendingError().text, "File format error!");
    EXPECT_EQ(PendingErrorOrUnknown(), "File format error!");
    ClearPendingError();
    EXPECT_EQ(PendingError().text, "");
    EXPECT_EQ(PendingErrorOrUnknown(), "Unknown Error!");
}

TEST(PendingError, ScopedPendingErrorStartsEmptyAndPutsTheSlotBack)
{
    const ScopedPendingError test;
    SetPendingError("Write file failed!");
    {
        const ScopedPendingError nested;
        EXPECT_EQ(PendingError().pending, 0);
        EXPECT_EQ(PendingError().text, "");
        SetPendingError("File size error!");
    }
    EXPECT_EQ(PendingError().pending, 1);
    EXPECT_EQ(PendingError().text, "Write file failed!");
    {
        const ScopedPendingError nested;
    }
    EXPECT_EQ(PendingErrorOrUnknown(), "Write file failed!");
}

// A worker's failure stays in its own slot: the slot of the thread that shows errors keeps its text.
TEST(PendingError, EachThreadHasItsOwnSlot)
{
    const ScopedPendingError test;
    SetPendingError("left by the window");
    PendingErrorState seenByWorker;
    std::string workerText;
    std::thread worker([&] {
        seenByWorker = PendingError();
        SetPendingError("Create File Failed!");
        SetPendingErrorDetail("No such file or directory");
        workerText = PendingErrorOrUnknown();
    });
    worker.join();
    EXPECT_EQ(seenByWorker.pending, 0); // a new thread starts with an empty slot
    EXPECT_EQ(seenByWorker.text, "");
    EXPECT_EQ(workerText, "Create File Failed!");
    EXPECT_EQ(PendingError().text, "left by the window");
    EXPECT_EQ(PendingError().detail, "");
    EXPECT_EQ(PendingError().pending, 1);
}

} // namespace

} // namespace core
