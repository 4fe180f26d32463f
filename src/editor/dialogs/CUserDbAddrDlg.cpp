#include "editor/dialogs/CUserDbAddrDlg.h"

#include "editor/dialogs/HexAddress.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ui::MessageIcon;

namespace editor {

CUserDbAddrDlg::CUserDbAddrDlg(ui::UiServices& services, QWidget* parent)
    : QDialog(parent)
    , m_services(services)
    , m_addressBox(new QComboBox(this))
{
    setWindowTitle("UserDb Config");
    m_addressBox->setObjectName("addressBox");
    m_addressBox->setEditable(true);
    m_addressBox->setInsertPolicy(QComboBox::NoInsert);
    m_addressBox->addItems({"Auto", "110000", "120000"});
    m_addressBox->setCurrentIndex(0);
    m_addressBox->setMinimumWidth(160);
    connect(m_addressBox, &QComboBox::currentIndexChanged, this, [this](int index) { m_listSelection = index; });
    connect(m_addressBox->lineEdit(), &QLineEdit::textEdited, this, [this] { m_listSelection = -1; });

    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cancelButton");
    connect(ok, &QPushButton::clicked, this, &CUserDbAddrDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CUserDbAddrDlg::reject);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(new QLabel("0x", this));
    addressRow->addWidget(m_addressBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Please select the address of UserDb:", this));
    layout->addLayout(addressRow);
    layout->addLayout(buttons);
}

void CUserDbAddrDlg::accept()
{
    if (m_listSelection == 0) {
        m_address = 0;
        QDialog::accept();
        return;
    }
    const QString text = m_addressBox->currentText();
    if (text.isEmpty()) {
        m_services.ShowMessage(this, "The address can not be empty!", "Empty Input", MessageIcon::Warning);
        return;
    }
    const std::uint32_t address = ParseHexAddress(text.toStdString());
    if (address == 0) {
        m_services.ShowMessage(this, "The address can not be 0!", "Error", MessageIcon::Warning);
        return;
    }
    m_address = address;
    QDialog::accept();
}

} // namespace editor
