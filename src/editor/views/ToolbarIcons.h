#pragma once

#include <QIcon>

// The toolbar's 16x15 button pictures, drawn rather than shipped.
QIcon CutIcon();
QIcon CopyIcon();
QIcon PasteIcon();
QIcon AboutIcon();
