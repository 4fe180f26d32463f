#pragma once

#include <QComboBox>

namespace downloader {

// The Serial Port list: a drop-down list that also takes a device path typed by hand, says when it is
// about to open (so its entries can be fetched afresh), and shows the tooltip of the port chosen.
class PortComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit PortComboBox(QWidget* parent = nullptr);

    void showPopup() override;
    // The port's description and maker appear as its tooltip, in the list and on the box.
    void SetPortToolTip(int index, const QString& text);
    // Shows the tooltip of the port whose name is in the box (none for a typed path).
    void ShowCurrentToolTip();

signals:
    void PopupAboutToShow();
};

} // namespace downloader
