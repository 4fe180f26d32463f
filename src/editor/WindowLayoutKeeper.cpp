#include "editor/WindowLayoutKeeper.h"

#include "editor/EditorSettings.h"
#include "editor/views/CProgListView.h"

#include <QMainWindow>
#include <QSplitter>

#include <array>

namespace editor {

namespace {
constexpr const char* kGeometryKey = "Window/Geometry";
constexpr const char* kSplitterKey = "Window/Splitter";
constexpr std::array<ListKind, 3> kKinds{ListKind::Satellites, ListKind::Transponders, ListKind::Programs};

QString WidthsKey(ListKind kind)
{
    switch (kind) {
    case ListKind::Programs:
        return "List/ProgramColumns";
    case ListKind::Transponders:
        return "List/TransponderColumns";
    case ListKind::Satellites:
        break;
    }
    return "List/SatelliteColumns";
}

QList<int> ToInts(const QVariant& value)
{
    QList<int> widths;
    for (const QVariant& item : value.toList()) {
        widths.append(item.toInt());
    }
    return widths;
}
} // namespace

WindowLayoutKeeper::WindowLayoutKeeper(QMainWindow& frame, QSplitter& splitter, CProgListView& list)
    : QObject(&frame)
    , m_frame(frame)
    , m_splitter(splitter)
    , m_list(list)
    , m_settings(OpenEditorSettings())
{
    connect(&m_splitter, &QSplitter::splitterMoved, this, &WindowLayoutKeeper::SaveSplitter);
    connect(&m_list, &CProgListView::ColumnWidthsEdited, this, &WindowLayoutKeeper::SaveColumnWidths);
}

void WindowLayoutKeeper::Restore()
{
    QSettings* settings = m_settings.get();
    if (const QByteArray geometry = settings->value(kGeometryKey).toByteArray(); !geometry.isEmpty()) {
        (void)m_frame.restoreGeometry(geometry); // a geometry that does not fit leaves the window as it is
    }
    if (const QByteArray state = settings->value(kSplitterKey).toByteArray(); !state.isEmpty()) {
        (void)m_splitter.restoreState(state); // likewise
    }
    for (const ListKind kind : kKinds) {
        m_list.SetColumnWidths(kind, ToInts(settings->value(WidthsKey(kind))));
    }
}

void WindowLayoutKeeper::SaveGeometry() const
{
    m_settings->setValue(kGeometryKey, m_frame.saveGeometry());
}

void WindowLayoutKeeper::SaveSplitter() const
{
    m_settings->setValue(kSplitterKey, m_splitter.saveState());
}

void WindowLayoutKeeper::SaveColumnWidths(ListKind kind, const QList<int>& widths) const
{
    QVariantList values;
    for (const int width : widths) {
        values.append(width);
    }
    m_settings->setValue(WidthsKey(kind), values);
}

} // namespace editor
