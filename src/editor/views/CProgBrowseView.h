#pragma once

#include "editor/models/ListKind.h"

#include <QTreeWidget>

#include <array>
#include <cstdint>

namespace core {
class CProgDb;
} // namespace core

namespace editor {

// The left pane: "All Prog", then "Sat" with the satellites and their transponders. Selecting an
// item asks the program list to show the matching nodes. It never changes the database.
class CProgBrowseView final : public QTreeWidget
{
    Q_OBJECT

public:
    // Item data: the node id (-1 for the two fixed items) and the image index.
    static constexpr int IdRole = Qt::UserRole;
    static constexpr int ImageRole = Qt::UserRole + 1;

    explicit CProgBrowseView(QWidget* parent = nullptr);

    // Remembers the database and rebuilds every item from it, collapsed and with no selection.
    void RebuildTree(core::CProgDb* db);
    // Rebuilds from the database already held.
    void RefreshTree();

signals:
    // The list should show nodes of this kind, with this parent id (-1 for all).
    void ShowItemsRequested(ListKind kind, std::int32_t id);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnSelectionChanged();

    core::CProgDb* m_db = nullptr;
    std::array<QIcon, 3> m_icons; // by image index
};

} // namespace editor
