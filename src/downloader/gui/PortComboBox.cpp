#include "downloader/gui/PortComboBox.h"

void PortComboBox::showPopup()
{
    emit PopupAboutToShow();
    QComboBox::showPopup();
}
