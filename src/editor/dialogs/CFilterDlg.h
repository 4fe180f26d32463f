#pragma once

#include "editor/models/FilterSpec.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

// Lets the user write the equality conditions of a list filter, at most one per column.
class CFilterDlg final : public QDialog
{
    Q_OBJECT

public:
    // headers: the list's current column headers, in column order. The FilterSpec is written on OK only.
    CFilterDlg(FilterSpec& spec, const QStringList& headers, ui::UiServices& services, QWidget* parent = nullptr);

    // Sets the title ("Prog Filter", ...); an empty caption keeps "Filter".
    void SetCaption(const QString& caption);

    void accept() override;

private:
    void AddCondition();
    void RemoveMarkedCondition();

    FilterSpec& m_spec;
    ui::UiServices& m_services;
    QTreeWidget* m_conditions;
    QComboBox* m_chooser;
    QLineEdit* m_value;
};

} // namespace editor
