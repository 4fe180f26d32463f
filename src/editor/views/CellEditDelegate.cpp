#include "editor/views/CellEditDelegate.h"

#include "common/CodePage.h"
#include "edit/FieldTable.h"
#include "editor/models/ProgListModel.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

using core::FieldInfo;
using core::FieldKind;

namespace editor {

namespace {
constexpr const char* kCaption = "Edit Cell";

QString RangeText(const FieldInfo& field)
{
    return QString("%1: a number from 0 to %2").arg(QString::fromUtf8(field.name)).arg(field.MaxValue());
}

// The number typed, as the field stores it; a 32-bit field also takes the negative form its cell
// shows. Empty when it is no number of the field's range.
std::optional<std::uint32_t> ParseNumber(const QString& text, const FieldInfo& field)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok) {
        return std::nullopt;
    }
    if (value < 0 && field.bits.width >= 32 && value >= std::numeric_limits<std::int32_t>::min()) {
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    }
    if (value < 0 || static_cast<qulonglong>(value) > field.MaxValue()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// The characters of text that have no exact form in the internal code page.
QString CharactersWithoutForm(const QString& text)
{
    QString missing;
    for (const QChar c : text) {
        bool lossy = false;
        (void)core::Utf8ToInternal(QString(c).toStdString(), &lossy);
        if (lossy && !missing.contains(c)) {
            missing += c;
        }
    }
    return missing;
}

const char* KindOwner(core::NodeType type)
{
    return type == core::Sat ? "A satellite" : "A program";
}
} // namespace

CellEditDelegate::CellEditDelegate(ProgListModel& model, ui::UiServices& services, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
    , m_services(services)
{ }

QWidget*
CellEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const FieldInfo* field = m_model.FieldAt(index.column());
    if (field == nullptr) {
        return nullptr;
    }
    switch (field->kind) {
    case FieldKind::Flag:
    case FieldKind::Choice:
    case FieldKind::LnbIndex: {
        auto* box = new QComboBox(parent); // owned by the view while the cell is edited
        box->setObjectName("cellChoice");
        for (const core::FieldChoice& choice : field->choices) {
            box->addItem(QString::fromUtf8(choice.label.data(), static_cast<qsizetype>(choice.label.size())),
                         static_cast<qulonglong>(choice.value));
        }
        return box;
    }
    case FieldKind::Name: {
        auto* edit = new QLineEdit(parent); // owned by the view while the cell is edited
        edit->setObjectName("cellName");
        edit->setToolTip(QString("At most %1 bytes").arg(field->nameBytes));
        return edit;
    }
    case FieldKind::Number:
        break;
    }
    auto* edit = new QLineEdit(parent); // owned by the view while the cell is edited
    edit->setObjectName("cellNumber");
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,10}"), edit));
    edit->setToolTip(RangeText(*field));
    (void)option;
    return edit;
}

void CellEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        const int at = box->findData(value);
        if (at < 0) {
            box->addItem(value.toString(), value); // a value the file holds but the list does not offer
        }
        box->setCurrentIndex(at < 0 ? box->count() - 1 : at);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(value.toString());
    }
}

void CellEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/, const QModelIndex& index) const
{
    const FieldInfo* field = m_model.FieldAt(index.column());
    if (field == nullptr) {
        return;
    }
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        (void)m_model.EditCell(index, box->currentData()); // the values offered fit the field
        return;
    }
    const QString text = qobject_cast<QLineEdit*>(editor)->text();
    if (!field->IsName()) {
        const std::optional<std::uint32_t> value = ParseNumber(text, *field);
        if (!value) {
            Refuse(
                editor,
                QString("%1 takes a number from 0 to %2.").arg(QString::fromUtf8(field->name)).arg(field->MaxValue()));
            return;
        }
        (void)m_model.EditCell(index, static_cast<qulonglong>(*value)); // checked against the field
        return;
    }
    const QString missing = CharactersWithoutForm(text);
    if (!missing.isEmpty()) {
        Refuse(editor,
               QString("The receiver cannot show these characters: %1\nThe name was not changed.").arg(missing));
        return;
    }
    const std::string bytes = core::Utf8ToInternal(text.toStdString());
    if (bytes.size() > field->nameBytes) {
        Refuse(editor,
               QString("%1 name has at most %2 bytes; this one has %3.\nThe name was not changed.")
                   .arg(KindOwner(field->nodeType))
                   .arg(field->nameBytes)
                   .arg(bytes.size()));
        return;
    }
    (void)m_model.EditCell(index, QByteArray::fromStdString(bytes)); // checked against the field
}

void CellEditDelegate::Refuse(QWidget* editor, const QString& text) const
{
    m_services.ShowMessage(editor->parentWidget(), text, kCaption, ui::MessageIcon::Error);
}

} // namespace editor
