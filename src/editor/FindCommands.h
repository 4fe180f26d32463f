#pragma once

#include <QObject>

class QAction;
class QLabel;
class QStatusBar;
class QToolBar;
class QTreeWidgetItem;

namespace editor {

class CProgBrowseView;
class CProgListView;
class FindField;

// Find and Show All: the toolbar's Find field narrows the list to the names containing its text
// (with any filter in force), Ctrl+Shift+F goes to the field, and while anything narrows the list
// the status bar says how many of its rows are shown. Show All, or clicking the tree item already
// chosen, drops both the filter and the find text.
class FindCommands final : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QToolBar* toolBar; // the field goes at its end
        QStatusBar* statusBar; // the "Showing N of M" pane goes there
        QAction* find; // focuses the field
        QAction* showAll;
        CProgBrowseView* tree;
        CProgListView* list;
    };
    explicit FindCommands(const Parts& parts, QObject* parent);

    FindField* Field() const { return m_field; }
    QLabel* ShownPane() const { return m_shownPane; }
    // Drops the filter and the find text.
    void ShowAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FocusField();
    void UpdateShownPane();
    void OnTreeClicked(QTreeWidgetItem* item);

    Parts m_parts;
    FindField* m_field;
    QLabel* m_shownPane;
    QTreeWidgetItem* m_currentAtPress = nullptr; // the tree's current item before the last press
};

} // namespace editor
