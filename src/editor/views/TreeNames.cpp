#include "editor/views/TreeNames.h"

#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/TreeIcons.h"

namespace editor {

void RenameTreeItems(CProgBrowseView& tree, const core::CProgDb& db)
{
    for (int top = 0; top < tree.topLevelItemCount(); ++top) {
        QTreeWidgetItem* root = tree.topLevelItem(top);
        if (root->data(0, CProgBrowseView::ImageRole).toInt() != SatelliteImage) {
            continue; // "All Prog"
        }
        for (int child = 0; child < root->childCount(); ++child) {
            QTreeWidgetItem* item = root->child(child);
            const core::CSatNode* sat = db.Sats().Find(item->data(0, CProgBrowseView::IdRole).toInt());
            if (sat != nullptr) {
                item->setText(0, QString::fromStdString(core::InternalToUtf8(sat->Name())));
            }
        }
    }
}

} // namespace editor
