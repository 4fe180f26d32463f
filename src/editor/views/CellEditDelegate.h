#pragma once

#include <QStyledItemDelegate>

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

class ProgListModel;

// Edits the program list's cells in place, each as its field asks: a number within the field's bit
// width (the range in the editor's tooltip), a drop-down for the on/off and choice fields, a name
// that must fit the field in the internal code page. A refused value is explained in a box and
// leaves the cell as it was.
class CellEditDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    CellEditDelegate(ProgListModel& model, ui::UiServices& services, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    void Refuse(QWidget* editor, const QString& text) const;

    ProgListModel& m_model;
    ui::UiServices& m_services;
};

} // namespace editor
