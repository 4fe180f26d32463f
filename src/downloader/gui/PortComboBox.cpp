#include "downloader/gui/PortComboBox.h"

namespace downloader {

PortComboBox::PortComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // A typed path is used as it stands; it never becomes an entry of the list.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentTextChanged, this, &PortComboBox::ShowCurrentToolTip);
}

void PortComboBox::showPopup()
{
    emit PopupAboutToShow();
    QComboBox::showPopup();
}

void PortComboBox::SetPortToolTip(int index, const QString& text)
{
    setItemData(index, text, Qt::ToolTipRole);
    ShowCurrentToolTip();
}

void PortComboBox::ShowCurrentToolTip()
{
    const int index = findText(currentText());
    setToolTip(index >= 0 ? itemData(index, Qt::ToolTipRole).toString() : QString());
}

} // namespace downloader
