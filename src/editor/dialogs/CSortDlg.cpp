#include "editor/dialogs/CSortDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace editor {

CSortDlg::CSortDlg(core::NodeType kind, const QStringList& headers, QWidget* parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_chooser(new QComboBox(this))
    , m_ascending(new QRadioButton("&Ascending", this))
    , m_descending(new QRadioButton("&Descending", this))
{
    setWindowTitle("Sort");
    m_chooser->setObjectName("columnChooser");
    for (const QString& header : headers) {
        if (!core::SortKeyForHeader(kind, header.toStdString()).empty()) {
            m_chooser->addItem(header);
        }
    }
    m_ascending->setObjectName("ascendingButton");
    m_descending->setObjectName("descendingButton");
    m_ascending->setChecked(true);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    ok->setEnabled(m_chooser->count() > 0);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CSortDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSortDlg::reject);

    auto* direction = new QHBoxLayout;
    direction->addWidget(m_ascending);
    direction->addWidget(m_descending);
    auto* form = new QFormLayout;
    form->addRow("&Column:", m_chooser);
    form->addRow("Direction:", direction);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void CSortDlg::SelectHeader(const QString& header)
{
    const int index = m_chooser->findText(header);
    if (index >= 0) {
        m_chooser->setCurrentIndex(index);
    }
}

QString CSortDlg::Header() const
{
    return m_chooser->currentText();
}

std::string CSortDlg::Key() const
{
    return m_chooser->currentIndex() < 0 ? std::string() : core::SortKeyForHeader(m_kind, Header().toStdString());
}

core::SortOrder CSortDlg::Order() const
{
    return m_descending->isChecked() ? core::SortOrder::Descending : core::SortOrder::Ascending;
}

} // namespace editor
