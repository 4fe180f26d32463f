#include "FrameHarness.h"

#include "TestDatabase.h"
#include "editor/CMainFrame.h"
#include "editor/CommandIds.h"
#include "editor/SideCopyMonitor.h"
#include "editor/SpreadsheetSideCopy.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"

#include <QAction>
#include <QApplication>
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

FrameHarness::~FrameHarness()
{
    if (m_app.MainFrame() != nullptr) {
        Frame().SideCopies()->WaitForAll();
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
    ui.QueueFile(QString::fromStdString(dir.Write("list.db", DbFileBytes(db))));
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

bool FrameHarness::Activate() const
{
    QApplication::setActiveWindow(&Frame());
    return QTest::qWaitForWindowActive(&Frame());
}

bool FrameHarness::SideCopyIsTheOneGoCopy(const std::string& name, const std::string& dbBytes) const
{
    const testsupport::TempDir other;
    const std::string again = other.Write(name, dbBytes);
    MakeSpreadsheetSideCopy(again);
    return testsupport::ReadFileBytes(again + "xls") == testsupport::ReadFileBytes(dir.File(name + "xls"));
}

void FrameHarness::ExpectMessage(const QString& text, const QString& caption, ui::MessageIcon icon) const
{
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].text, text);
    QCOMPARE(ui.messages[0].caption, caption);
    QCOMPARE(ui.messages[0].icon, icon);
}

void FrameHarness::Click(QTreeWidgetItem* item) const
{
    Tree().scrollToItem(item);
    const QPoint centre = Tree().visualItemRect(item).center();
    QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, centre);
}

} // namespace editor
