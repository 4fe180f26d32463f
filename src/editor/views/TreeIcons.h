#pragma once

#include <QIcon>

namespace editor {

// The tree's image indexes; the kind of an item is read from its image, never from its text.
enum TreeImage : int { SatelliteImage = 0, DishImage = 1, ScreenImage = 2 };

// The grey 16x16 pictogram of an image index: a satellite, a dish antenna or a television screen.
QIcon TreeIcon(int image);

// The program's icon, the one of its desktop entry: in the window frame and the About box.
QIcon ProgramIcon();

} // namespace editor
