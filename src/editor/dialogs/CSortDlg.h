#pragma once

#include "db/CNode.h"
#include "edit/SortNodes.h"

#include <QDialog>
#include <QStringList>

#include <string>

class QComboBox;
class QRadioButton;

namespace editor {

// Sort...: asks for the column the shown rows are sorted by and the direction. Only the columns
// the rows can be sorted by are offered; the choice is read after OK.
class CSortDlg final : public QDialog
{
    Q_OBJECT

public:
    // headers: the list's column headers, in column order; kind: the nodes the rows show.
    CSortDlg(core::NodeType kind, const QStringList& headers, QWidget* parent = nullptr);

    // Preselects a column by its header (the one the current cell is in); unknown headers are ignored.
    void SelectHeader(const QString& header);

    // The header chosen and its sort key (as SortNodes takes it); empty when none is offered.
    QString Header() const;
    std::string Key() const;
    core::SortOrder Order() const;

private:
    core::NodeType m_kind;
    QComboBox* m_chooser;
    QRadioButton* m_ascending;
    QRadioButton* m_descending;
};

} // namespace editor
