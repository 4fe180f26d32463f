#include "editor/dialogs/CFilterDlg.h"

#include "ui/UiServices.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using ui::MessageIcon;

namespace editor {

namespace {
constexpr int kItemColumn = 0;
constexpr int kValueColumn = 2;
constexpr int kColumnIndexRole = Qt::UserRole;
} // namespace

CFilterDlg::CFilterDlg(FilterSpec& spec, const QStringList& headers, ui::UiServices& services, QWidget* parent)
    : QDialog(parent)
    , m_spec(spec)
    , m_services(services)
    , m_conditions(new QTreeWidget(this))
    , m_chooser(new QComboBox(this))
    , m_value(new QLineEdit(this))
{
    setWindowTitle("Filter");
    m_conditions->setObjectName("conditionList");
    m_conditions->setRootIsDecorated(false);
    m_conditions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_conditions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_conditions->setHeaderLabels({"Item", "Opt", "Value"});
    m_conditions->setColumnWidth(0, 100);
    m_conditions->setColumnWidth(1, 60);
    m_conditions->setColumnWidth(2, 120);
    connect(m_conditions, &QTreeWidget::itemDoubleClicked, this, &CFilterDlg::RemoveMarkedCondition);

    m_chooser->setObjectName("columnChooser");
    m_chooser->addItems(headers);
    m_chooser->setCurrentIndex(headers.isEmpty() ? -1 : 0);
    m_value->setObjectName("valueEdit");

    auto* add = new QPushButton("&Add", this);
    add->setObjectName("addButton");
    add->setAutoDefault(false); // Enter means OK, never Add
    auto* ok = new QPushButton(QString::fromUtf8("确定"), this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("取消"), this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &CFilterDlg::AddCondition);
    connect(ok, &QPushButton::clicked, this, &CFilterDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CFilterDlg::reject);

    auto* conditionRow = new QHBoxLayout;
    conditionRow->addWidget(new QLabel("AND:", this));
    conditionRow->addWidget(m_chooser);
    conditionRow->addWidget(new QLabel("==", this));
    conditionRow->addWidget(m_value, 1);
    conditionRow->addWidget(add);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_conditions, 1);
    layout->addLayout(conditionRow);
    layout->addLayout(buttons);
    resize(420, 320);
}

void CFilterDlg::SetCaption(const QString& caption)
{
    if (!caption.isEmpty()) {
        setWindowTitle(caption);
    }
}

void CFilterDlg::AddCondition()
{
    const int column = m_chooser->currentIndex();
    if (column < 0) {
        return;
    }
    const QString item = m_chooser->currentText();
    const QString value = m_value->text().trimmed();
    if (item.isEmpty() || value.isEmpty()) {
        m_services.ShowMessage(this, "Empty input", "Error", MessageIcon::Error);
        return;
    }
    for (int row = 0; row < m_conditions->topLevelItemCount(); ++row) {
        if (m_conditions->topLevelItem(row)->text(kItemColumn) == item) {
            m_services.ShowMessage(this, "Filter Item Existed!", "Error", MessageIcon::Error);
            return;
        }
    }
    auto* condition = new QTreeWidgetItem(m_conditions, QStringList{item, "==", value});
    condition->setData(kItemColumn, kColumnIndexRole, column);
}

void CFilterDlg::RemoveMarkedCondition()
{
    // The row last clicked carries the mark; a double-click elsewhere removes nothing.
    const int marked = m_conditions->indexOfTopLevelItem(m_conditions->currentItem());
    if (marked >= 0) {
        std::unique_ptr<QTreeWidgetItem> removed(m_conditions->takeTopLevelItem(marked));
    }
}

void CFilterDlg::accept()
{
    if (m_conditions->topLevelItemCount() == 0) {
        m_services.ShowMessage(this, "Empty Filter!", "Empty", MessageIcon::Error);
        return;
    }
    m_spec.conditions.clear();
    for (int row = 0; row < m_conditions->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* condition = m_conditions->topLevelItem(row);
        m_spec.conditions.push_back(
            {condition->data(kItemColumn, kColumnIndexRole).toInt(), condition->text(kValueColumn).toStdString()});
    }
    QDialog::accept();
}

} // namespace editor
