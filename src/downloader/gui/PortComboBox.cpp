#include "downloader/gui/PortComboBox.h"

namespace downloader {

void PortComboBox::showPopup()
{
    emit PopupAboutToShow();
    QComboBox::showPopup();
}

} // namespace downloader
