// Bar-separated file-dialog filters turned into Qt name filters.
#include "ui/FileFilter.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(FileFilter, BarsBecomeQtNameFilters)
{
    struct Case
    {
        const char* bars;
        const char* qt;
    };
    const Case cases[] = {
        {"Program Db File(*.db)|*.db|All Files (*.*)|*.*||", "Program Db File(*.db) (*.db);;All Files (*.*) (*)"},
        {"Binary File(*.bin)|*.bin|All Files (*.*)|*.*||", "Binary File(*.bin) (*.bin);;All Files (*.*) (*)"},
        {"Excel File(*.xls)|*.xls|All Files (*.*)|*.*||", "Excel File(*.xls) (*.xls);;All Files (*.*) (*)"},
        // Kestrun_boot's filter: a blank before the second pattern, none of it shown twice.
        {"*.bin;*.dat|*.bin;*.dat|(All File) *.* | *.*||", "*.bin;*.dat (*.bin *.dat);;(All File) *.*  (*)"},
        {"Text files|*.txt|All files|*||", "Text files (*.txt);;All files (*)"},
        {"Images|*.bmp;*.png||", "Images (*.bmp *.png)"},
        {"Images|*.bmp; ;*.png||", "Images (*.bmp *.png)"},
        {"Db|*.db|Lonely||", "Db (*.db)"}, // an unpaired tail is ignored
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bars);
        EXPECT_EQ(ToQtNameFilter(c.bars), c.qt);
    }
}

} // namespace
} // namespace ui
