#include "editor/views/CProgBrowseView.h"

#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "editor/views/DeadEditKeys.h"
#include "editor/views/TreeIcons.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleFactory>

#include <unordered_map>
#include <vector>

using core::CProgDb;
using core::CSatNode;
using core::CTpNode;
using core::InternalToUtf8;
using core::InvalidId;

namespace editor {

namespace {
QTreeWidgetItem* MakeItem(const QString& text, const QIcon& icon, int image, std::int32_t id)
{
    auto* item = new QTreeWidgetItem(QStringList{text}); // owned by the tree once added
    item->setIcon(0, icon);
    item->setData(0, CProgBrowseView::ImageRole, image);
    item->setData(0, CProgBrowseView::IdRole, id);
    return item;
}

QString TpText(const CTpNode& tp)
{
    return QString::asprintf("%d-%d-%d", tp.Id(), static_cast<int>(tp.Frequency()), static_cast<int>(tp.SymbolRate()));
}
} // namespace

CProgBrowseView::CProgBrowseView(QWidget* parent)
    : QTreeWidget(parent)
    , m_icons{TreeIcon(SatelliteImage), TreeIcon(DishImage), TreeIcon(ScreenImage)}
{
    setObjectName("browseTree");
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    // The classic style draws the connecting lines and the +/- expand buttons of a navigator tree.
    if (QStyle* classic = QStyleFactory::create("Windows")) {
        classic->setParent(this);
        setStyle(classic);
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CProgBrowseView::OnSelectionChanged);
}

void CProgBrowseView::RebuildTree(CProgDb* db)
{
    m_db = db;
    setUpdatesEnabled(false);
    clear();
    if (m_db != nullptr) {
        // One walk groups the transponders by satellite id, keeping list order within a group;
        // the tree comes out as a walk of the whole list per satellite would give it.
        std::unordered_map<std::int32_t, std::vector<const CTpNode*>> tpsBySat;
        for (const CTpNode& tp : m_db->Tps()) {
            tpsBySat[tp.ParentId()].push_back(&tp);
        }
        QList<QTreeWidgetItem*> top;
        top.append(MakeItem("All Prog", m_icons[ScreenImage], ScreenImage, InvalidId));
        QTreeWidgetItem* satRoot = MakeItem("Sat", m_icons[SatelliteImage], SatelliteImage, InvalidId);
        top.append(satRoot);
        for (const CSatNode& sat : m_db->Sats()) {
            QTreeWidgetItem* satItem = MakeItem(
                QString::fromStdString(InternalToUtf8(sat.Name())), m_icons[SatelliteImage], SatelliteImage, sat.Id());
            const auto group = tpsBySat.find(sat.Id());
            if (group != tpsBySat.end()) {
                QList<QTreeWidgetItem*> tpItems;
                tpItems.reserve(static_cast<qsizetype>(group->second.size()));
                for (const CTpNode* tp : group->second) {
                    tpItems.append(MakeItem(TpText(*tp), m_icons[DishImage], DishImage, tp->Id()));
                }
                satItem->addChildren(tpItems);
            }
            satRoot->addChild(satItem);
        }
        addTopLevelItems(top);
    }
    setUpdatesEnabled(true);
}

void CProgBrowseView::RefreshTree()
{
    RebuildTree(m_db);
}

void CProgBrowseView::OnSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return; // as while the tree is being emptied
    }
    const int image = selected.front()->data(0, ImageRole).toInt();
    const std::int32_t id = selected.front()->data(0, IdRole).toInt();
    switch (image) {
    case ScreenImage:
        emit ShowItemsRequested(ListKind::Programs, InvalidId);
        break;
    case DishImage:
        emit ShowItemsRequested(ListKind::Programs, id);
        break;
    default:
        if (id == InvalidId) {
            emit ShowItemsRequested(ListKind::Satellites, InvalidId);
        } else {
            emit ShowItemsRequested(ListKind::Transponders, id);
        }
        break;
    }
}

void CProgBrowseView::keyPressEvent(QKeyEvent* event)
{
    if (IsDeadEditKey(*event)) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace editor
