#pragma once

#include <QObject>

#include <map>

class QAction;
class QMainWindow;

namespace editor {

// The frame's commands as actions, keyed by command id, with their menu texts, status-bar
// prompts, tooltips and keys. The actions belong to the frame.
class FrameActions
{
public:
    explicit FrameActions(QMainWindow& frame);

    // The action of a command id; nullptr for an id the frame does not carry.
    QAction* Get(int id) const;

    // Builds "&File", "&Edit", "&View" and "&Help", and the toolbar (Cut, Copy, Paste, separator, About).
    void BuildMenusAndToolBar(QMainWindow& frame) const;

private:
    std::map<int, QAction*> m_actions;
};

} // namespace editor
