#pragma once

#include "editor/models/ListKind.h"

#include <QList>
#include <QObject>

class QMainWindow;
class QSplitter;

namespace editor {

class CProgListView;

// Keeps the window's geometry, the splitter's position and the list's column widths (per list
// kind) in the user's settings: puts them back when the window is made and writes them as they
// change (the geometry when the window closes).
class WindowLayoutKeeper final : public QObject
{
    Q_OBJECT

public:
    WindowLayoutKeeper(QMainWindow& frame, QSplitter& splitter, CProgListView& list);

    // Puts back what the settings hold; leaves anything they lack as it is.
    void Restore();
    // Writes the window's geometry (the rest is written as it changes).
    void SaveGeometry() const;

private:
    void SaveSplitter() const;
    static void SaveColumnWidths(ListKind kind, const QList<int>& widths);

    QMainWindow& m_frame;
    QSplitter& m_splitter;
    CProgListView& m_list;
};

} // namespace editor
