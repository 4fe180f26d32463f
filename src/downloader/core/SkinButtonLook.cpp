#include "downloader/core/SkinButtonLook.h"

namespace downloader {

namespace {

std::uint8_t Channel(int value)
{
    return static_cast<std::uint8_t>(value);
}

} // namespace

Rgb SkinBandColour(int band, bool hovered)
{
    const int redGreen = 255 - (hovered ? band / 4 : band / 3);
    const int blue = 255 - band / 5;
    return Rgb{Channel(redGreen), Channel(redGreen), Channel(blue)};
}

int SkinBandForRow(int row, int faceHeight)
{
    if (faceHeight <= 0 || row < 0) {
        return 0;
    }
    const int band = row * kSkinBands / faceHeight;
    return band >= kSkinBands ? kSkinBands - 1 : band;
}

SkinFrame SkinHoverFrame()
{
    return SkinFrame{{250, 196, 88}, {251, 202, 106}, {252, 210, 121}, {229, 151, 0}};
}

SkinFrame SkinFocusFrame()
{
    return SkinFrame{{153, 198, 252}, {162, 189, 252}, {162, 201, 255}, {162, 201, 255}};
}

} // namespace downloader
