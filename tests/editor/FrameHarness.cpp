#include "FrameHarness.h"

#include "TestDatabase.h"
#include "editor/CMainFrame.h"
#include "editor/CommandIds.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"

#include <QAction>
#include <QSettings>
#include <QTest>

namespace editor {

namespace {
std::string PointSettingsAt(const std::string& folder)
{
    // Every QSettings made from here on reads and writes below this folder.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, QString::fromStdString(folder));
    }
    return folder;
}
} // namespace

FrameHarness::FrameHarness(std::optional<std::string> settingsFolder)
    : m_settingsFolder(PointSettingsAt(settingsFolder.value_or(m_ownSettings.Path())))
{
    if (!m_app.InitInstance({"corvane"})) {
        qFatal("the main window could not be made");
    }
}

CMainFrame& FrameHarness::Frame() const
{
    return *m_app.MainFrame();
}

QAction* FrameHarness::Action(int id) const
{
    return Frame().Action(id);
}

CProgBrowseView& FrameHarness::Tree() const
{
    return *Frame().TreeView();
}

CProgListView& FrameHarness::List() const
{
    return *Frame().ListView();
}

void FrameHarness::Open(core::CProgDb& db)
{
    ui.QueueFile(QString::fromStdString(m_files.Write("list.db", DbFileBytes(db))));
    Action(CommandId::OpenDb)->trigger();
}

QTreeWidgetItem* FrameHarness::AllProgItem() const
{
    return Tree().topLevelItem(0);
}

QTreeWidgetItem* FrameHarness::SatRootItem() const
{
    return Tree().topLevelItem(1);
}

QTreeWidgetItem* FrameHarness::SatItem(int sat) const
{
    return SatRootItem()->child(sat);
}

QTreeWidgetItem* FrameHarness::TpItem(int sat, int tp) const
{
    return SatItem(sat)->child(tp);
}

void FrameHarness::Choose(QTreeWidgetItem* item) const
{
    Tree().setCurrentItem(item);
}

void FrameHarness::Click(QTreeWidgetItem* item) const
{
    Tree().scrollToItem(item);
    const QPoint centre = Tree().visualItemRect(item).center();
    QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, centre);
}

} // namespace editor
