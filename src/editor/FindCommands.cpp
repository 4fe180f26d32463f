#include "editor/FindCommands.h"

#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/FindField.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>

namespace editor {

FindCommands::FindCommands(const Parts& parts, QObject* parent)
    : QObject(parent)
    , m_parts(parts)
    , m_field(new FindField(parts.toolBar))
    , m_shownPane(new QLabel(parts.statusBar))
{
    m_parts.toolBar->addSeparator();
    m_parts.toolBar->addWidget(m_field);
    m_shownPane->setObjectName("shownPane");
    m_shownPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_shownPane->hide();
    m_parts.statusBar->addWidget(m_shownPane); // after the message pane, before the indicators

    ProgListModel& model = m_parts.list->Model();
    connect(m_field, &QLineEdit::textChanged, &model, &ProgListModel::SetFindText);
    connect(m_parts.find, &QAction::triggered, this, &FindCommands::FocusField);
    connect(m_parts.showAll, &QAction::triggered, this, &FindCommands::ShowAll);
    connect(&model, &QAbstractItemModel::modelReset, this, &FindCommands::UpdateShownPane);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &FindCommands::UpdateShownPane);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &FindCommands::UpdateShownPane);
    connect(m_parts.tree, &QTreeWidget::itemClicked, this, &FindCommands::OnTreeClicked);
    m_parts.tree->viewport()->installEventFilter(this);
    UpdateShownPane();
}

void FindCommands::FocusField()
{
    if (!m_parts.toolBar->isVisible()) {
        m_parts.toolBar->show(); // the field must be there to type into
    }
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void FindCommands::ShowAll()
{
    {
        const QSignalBlocker blocker(m_field); // the rows follow once, with the filter dropped too
        m_field->clear();
    }
    ProgListModel& model = m_parts.list->Model();
    model.ForgetFindText();
    if (model.HasColumns()) {
        m_parts.list->ShowItems(model.Kind(), model.ParentId());
    } else {
        UpdateShownPane();
    }
}

void FindCommands::UpdateShownPane()
{
    const ProgListModel& model = m_parts.list->Model();
    const bool narrowed = model.IsNarrowed();
    m_parts.showAll->setEnabled(narrowed);
    m_shownPane->setText(narrowed ? QString("Showing %1 of %2").arg(model.rowCount()).arg(model.TotalRows())
                                  : QString());
    m_shownPane->setVisible(narrowed);
}

bool FindCommands::eventFilter(QObject* watched, QEvent* event)
{
    // Only the press is looked at: the tree may be going away when other events arrive.
    if (event->type() == QEvent::MouseButtonPress && watched == m_parts.tree->viewport()) {
        m_currentAtPress = m_parts.tree->currentItem();
    }
    return QObject::eventFilter(watched, event);
}

void FindCommands::OnTreeClicked(QTreeWidgetItem* item)
{
    // A click on another item chooses it (and its list); a click on the item already chosen asks
    // for its whole list again.
    if (item != nullptr && item == m_currentAtPress && m_parts.list->Model().IsNarrowed()) {
        ShowAll();
    }
}

} // namespace editor
