#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

// Asks where the user database lies in a flash image. The answer 0 stands for "Auto".
class CUserDbAddrDlg final : public QDialog
{
    Q_OBJECT

public:
    explicit CUserDbAddrDlg(ui::UiServices& services, QWidget* parent = nullptr);

    // The chosen address after OK; 0 for "Auto" (and before OK).
    std::uint32_t Address() const { return m_address; }

    void accept() override;

private:
    ui::UiServices& m_services;
    QComboBox* m_addressBox;
    // The entry picked from the list, or -1 once the field has been typed into.
    int m_listSelection = 0;
    std::uint32_t m_address = 0;
};

} // namespace editor
