#include "downloader/core/SkinButtonLook.h"

#include <gtest/gtest.h>

namespace downloader {

TEST(SkinButtonLook, BandColours)
{
    struct Case
    {
        int band;
        bool hovered;
        Rgb colour;
    };
    const std::vector<Case> cases{
        {0, false, {255, 255, 255}},
        {0, true, {255, 255, 255}},
        {5, false, {254, 254, 254}},
        {5, true, {254, 254, 254}},
        {63, false, {234, 234, 243}},
        {63, true, {240, 240, 243}},
        {12, false, {251, 251, 253}},
        {12, true, {252, 252, 253}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.band);
        EXPECT_EQ(SkinBandColour(c.band, c.hovered), c.colour);
    }
}

TEST(SkinButtonLook, RowsMapToBandsProportionally)
{
    const std::vector<std::tuple<int, int, int>> cases{
        {0, 20, 0},
        {10, 20, 32},
        {19, 20, 60},
        {0, 128, 0},
        {127, 128, 63},
        {1, 128, 0},
        {5, 0, 0},
        {40, 20, 63},
    };
    for (const auto& [row, height, band] : cases) {
        EXPECT_EQ(SkinBandForRow(row, height), band) << row << "/" << height;
    }
}

TEST(SkinButtonLook, Frames)
{
    const SkinFrame hover = SkinHoverFrame();
    EXPECT_EQ(hover.left, (Rgb{250, 196, 88}));
    EXPECT_EQ(hover.right, (Rgb{251, 202, 106}));
    EXPECT_EQ(hover.top, (Rgb{252, 210, 121}));
    EXPECT_EQ(hover.bottom, (Rgb{229, 151, 0}));
    const SkinFrame focus = SkinFocusFrame();
    EXPECT_EQ(focus.left, (Rgb{153, 198, 252}));
    EXPECT_EQ(focus.right, (Rgb{162, 189, 252}));
    EXPECT_EQ(focus.top, (Rgb{162, 201, 255}));
    EXPECT_EQ(focus.bottom, (Rgb{162, 201, 255}));
    EXPECT_EQ(hover.sideWidth, 3);
    EXPECT_EQ(hover.edgeWidth, 2);
}

} // namespace downloader
