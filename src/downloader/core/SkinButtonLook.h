#pragma once

#include <cstdint>

namespace downloader {

// Colours of the skinned push button, kept apart from the painting so they can be checked.
struct Rgb
{
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The face is a vertical gradient of this many bands.
inline constexpr int kSkinBands = 64;

// Colour of band 0..63; hovered buttons are a little lighter towards the bottom.
Rgb SkinBandColour(int band, bool hovered);

// The band a face row falls in, rows mapped to bands proportionally.
int SkinBandForRow(int row, int faceHeight);

// Inner frame edges (left, right, top, bottom) and their widths in pixels.
struct SkinFrame
{
    Rgb left, right, top, bottom;
    int sideWidth = 3;
    int edgeWidth = 2;
};
SkinFrame SkinHoverFrame();
SkinFrame SkinFocusFrame();

} // namespace downloader
