#include "common/PendingError.h"

#include <gtest/gtest.h>

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

} // namespace

} // namespace core
