#pragma once

#include "editor/models/ListKind.h"

#include <QList>
#include <QObject>
#include <QSettings>

#include <memory>

class QMainWindow;
class QSplitter;

namespace editor {

class CProgListView;

// Keeps the window's geometry, the splitter's position and the list's column widths (per list
// kind) in the user's settings: puts them back when the window is made and writes them as they
// change (the geometry when the window closes); the settings file follows from the event loop.
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
    void SaveColumnWidths(ListKind kind, const QList<int>& widths) const;

    QMainWindow& m_frame;
    QSplitter& m_splitter;
    CProgListView& m_list;
    // One store for the window's life: a column dragged wider writes many times, the file once.
    std::unique_ptr<QSettings> m_settings;
};

} // namespace editor
