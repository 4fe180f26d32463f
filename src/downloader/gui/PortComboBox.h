#pragma once

#include <QComboBox>

namespace downloader {

// A drop-down list that says when it is about to open, so its entries can be fetched afresh.
class PortComboBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void PopupAboutToShow();
};

} // namespace downloader
