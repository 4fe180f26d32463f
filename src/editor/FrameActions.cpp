#include "editor/FrameActions.h"

#include "editor/CommandIds.h"
#include "editor/views/ToolbarIcons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace editor {

namespace {
struct ActionSpec
{
    int id;
    const char* text;
    const char* prompt; // status-bar prompt; empty for none
    const char* tooltip;
    QList<QKeySequence> keys;
};

const std::vector<ActionSpec>& ActionSpecs()
{
    using Q = QKeySequence;
    static const std::vector<ActionSpec> specs{
        {CommandId::OpenDb, "Open Db", "", "", {}},
        {CommandId::OpenExcel, "Open Excel", "", "", {}},
        {CommandId::SaveAsDb, "Save As Db", "", "", {}},
        {CommandId::SaveAsExcel, "Save As Excel", "", "", {}},
        {CommandId::OpenUserDb, "Open User Db...", "", "", {}},
        {CommandId::OpenUserDb25, "Open User Db 2.5...", "", "", {}},
        {CommandId::MergeDefaultDb, "Merge Into Flash Image...", "", "", {}},
        {CommandId::Exit, "E&xit", "Quit the application; prompts to save documents", "Exit", {}},
        {CommandId::ToggleToolBar, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar", {}},
        {CommandId::ToggleStatusBar, "&Status Bar", "Show or hide the status bar", "Toggle StatusBar", {}},
        {CommandId::Find,
         "&Find",
         "Show only the rows whose name contains a text",
         "Find",
         {Q(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}},
        {CommandId::ShowAll, "Show &All", "Show every row again, without filter or find text", "Show All", {}},
        {CommandId::About,
         "&About Tessaro...",
         "Display program information, version number and copyright",
         "About",
         {Q(Qt::Key_F1)}},
        {CommandId::Cut,
         "Cu&t",
         "Cut the selection and put it on the Clipboard",
         "Cut",
         {Q(Qt::CTRL | Qt::Key_X), Q(Qt::SHIFT | Qt::Key_Delete)}},
        {CommandId::Copy,
         "&Copy",
         "Copy the selection and put it on the Clipboard",
         "Copy",
         {Q(Qt::CTRL | Qt::Key_C), Q(Qt::CTRL | Qt::Key_Insert)}},
        {CommandId::Paste,
         "&Paste",
         "Insert Clipboard contents",
         "Paste",
         {Q(Qt::CTRL | Qt::Key_V), Q(Qt::SHIFT | Qt::Key_Insert)}},
        {CommandId::Undo,
         "&Undo",
         "Undo the last action",
         "Undo",
         {Q(Qt::CTRL | Qt::Key_Z), Q(Qt::ALT | Qt::Key_Backspace)}},
        {CommandId::Redo,
         "&Redo",
         "Redo the previously undone action",
         "Redo",
         {Q(Qt::CTRL | Qt::Key_Y), Q(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
        {CommandId::Delete,
         "&Delete",
         "Delete the selected rows with everything under them",
         "Delete",
         {Q(Qt::Key_Delete)}},
        {CommandId::EditCell, "Edit &Cell", "Change the value of the current cell", "Edit Cell", {Q(Qt::Key_F2)}},
        {CommandId::MoveUp, "Move &Up", "Move the selected rows up one row", "Move Up", {Q(Qt::CTRL | Qt::Key_Up)}},
        {CommandId::MoveDown,
         "Move Do&wn",
         "Move the selected rows down one row",
         "Move Down",
         {Q(Qt::CTRL | Qt::Key_Down)}},
        {CommandId::MoveToTop,
         "Move to &Top",
         "Move the selected rows above the first row",
         "Move to Top",
         {Q(Qt::CTRL | Qt::Key_Home)}},
        {CommandId::MoveToBottom,
         "Move to &Bottom",
         "Move the selected rows below the last row",
         "Move to Bottom",
         {Q(Qt::CTRL | Qt::Key_End)}},
        {CommandId::NewSatellite, "New &Satellite", "Add a satellite after the current one", "New Satellite", {}},
        {CommandId::NewTransponder,
         "New T&ransponder",
         "Add a transponder to the selected satellite",
         "New Transponder",
         {}},
        {CommandId::NewProgram, "New &Program", "Add a program to the selected transponder", "New Program", {}},
        {CommandId::InsertNode,
         "Insert",
         "Add a node of the kind the list shows after the current row",
         "Insert",
         {Q(Qt::Key_Insert)}},
        {CommandId::SortRows, "S&ort...", "Sort the rows shown by one column", "Sort", {}},
        {CommandId::SelectDuplicates,
         "Select Dup&licates",
         "Select every program that repeats an earlier one's service on its transponder",
         "Select Duplicates",
         {}},
        {CommandId::OrderLike, "Order &Like...", "Put the programs in the order of a reference list", "Order Like", {}},
        {CommandId::NextPane, "Next Pane", "Switch to the next window pane", "Next Pane", {Q(Qt::Key_F6)}},
        {CommandId::PrevPane,
         "Previous Pane",
         "Switch back to the previous window pane",
         "Previous Pane",
         {Q(Qt::SHIFT | Qt::Key_F6)}},
        {CommandId::Filter, "Filter", "", "", {Q(Qt::CTRL | Qt::Key_F)}},
    };
    return specs;
}
} // namespace

FrameActions::FrameActions(QMainWindow& frame)
{
    for (const ActionSpec& spec : ActionSpecs()) {
        auto* action = new QAction(spec.text, &frame);
        action->setObjectName(QString("action%1").arg(spec.id));
        action->setData(spec.id);
        action->setStatusTip(spec.prompt);
        action->setToolTip(spec.tooltip);
        action->setShortcuts(spec.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        frame.addAction(action); // keys work whether or not a menu shows the action
        m_actions[spec.id] = action;
    }
    // Cut, Copy and Paste have no handler anywhere: always disabled, their keys do nothing. The
    // frame enables the edit commands when they can act.
    for (const int id : {CommandId::Cut,
                         CommandId::Copy,
                         CommandId::Paste,
                         CommandId::Undo,
                         CommandId::Redo,
                         CommandId::Delete,
                         CommandId::EditCell,
                         CommandId::MoveUp,
                         CommandId::MoveDown,
                         CommandId::MoveToTop,
                         CommandId::MoveToBottom,
                         CommandId::NewSatellite,
                         CommandId::NewTransponder,
                         CommandId::NewProgram,
                         CommandId::InsertNode,
                         CommandId::SortRows,
                         CommandId::SelectDuplicates,
                         CommandId::OrderLike}) {
        m_actions[id]->setEnabled(false);
    }
    Get(CommandId::Cut)->setIcon(CutIcon());
    Get(CommandId::Copy)->setIcon(CopyIcon());
    Get(CommandId::Paste)->setIcon(PasteIcon());
    Get(CommandId::About)->setIcon(AboutIcon());
    Get(CommandId::ToggleToolBar)->setCheckable(true);
    Get(CommandId::ToggleStatusBar)->setCheckable(true);
}

QAction* FrameActions::Get(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void FrameActions::BuildMenusAndToolBar(QMainWindow& frame) const
{
    QMenu* file = frame.menuBar()->addMenu("&File");
    file->addAction(Get(CommandId::OpenDb));
    file->addAction(Get(CommandId::OpenExcel));
    file->addSeparator();
    file->addAction(Get(CommandId::SaveAsDb));
    file->addAction(Get(CommandId::SaveAsExcel));
    file->addSeparator();
    // The flash-image commands have no place in the classic menu; they get their own group.
    file->addAction(Get(CommandId::OpenUserDb));
    file->addAction(Get(CommandId::OpenUserDb25));
    file->addAction(Get(CommandId::MergeDefaultDb));
    file->addSeparator();
    file->addAction(Get(CommandId::Exit));
    QMenu* edit = frame.menuBar()->addMenu("&Edit");
    edit->setObjectName("editMenu");
    edit->addAction(Get(CommandId::Undo));
    edit->addAction(Get(CommandId::Redo));
    edit->addSeparator();
    edit->addAction(Get(CommandId::Delete));
    edit->addAction(Get(CommandId::EditCell));
    edit->addSeparator();
    edit->addAction(Get(CommandId::MoveUp));
    edit->addAction(Get(CommandId::MoveDown));
    edit->addAction(Get(CommandId::MoveToTop));
    edit->addAction(Get(CommandId::MoveToBottom));
    edit->addSeparator();
    edit->addAction(Get(CommandId::NewSatellite));
    edit->addAction(Get(CommandId::NewTransponder));
    edit->addAction(Get(CommandId::NewProgram));
    edit->addSeparator();
    edit->addAction(Get(CommandId::SortRows));
    edit->addAction(Get(CommandId::SelectDuplicates));
    edit->addAction(Get(CommandId::OrderLike));
    QMenu* view = frame.menuBar()->addMenu("&View");
    view->setObjectName("viewMenu");
    view->addAction(Get(CommandId::ToggleToolBar));
    view->addAction(Get(CommandId::ToggleStatusBar));
    view->addSeparator();
    view->addAction(Get(CommandId::Find));
    view->addAction(Get(CommandId::ShowAll));
    QMenu* help = frame.menuBar()->addMenu("&Help");
    help->addAction(Get(CommandId::About));

    QToolBar* toolBar = frame.addToolBar("Standard");
    toolBar->setObjectName("toolBar");
    toolBar->setIconSize(QSize(16, 15));
    toolBar->setMovable(true);
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar->addAction(Get(CommandId::Cut));
    toolBar->addAction(Get(CommandId::Copy));
    toolBar->addAction(Get(CommandId::Paste));
    toolBar->addSeparator();
    toolBar->addAction(Get(CommandId::About));
}

} // namespace editor
