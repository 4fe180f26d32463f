#include "downloader/gui/OutputView.h"

#include "ui/UiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>

#include <memory>

namespace downloader {

OutputView::OutputView(ui::UiServices& ui, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_ui(ui)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
}

bool OutputView::IsEmpty() const
{
    return document()->isEmpty();
}

bool OutputView::EndsWithLineBreak() const
{
    // The document always ends with a paragraph separator of its own; the character before it is the last one.
    const QTextDocument* doc = document();
    const int last = doc->characterCount() - 2;
    return last < 0 || doc->characterAt(last) == QChar::ParagraphSeparator;
}

void OutputView::Append(std::string_view text)
{
    QString decoded = m_decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    // Line breaks arrive as CR LF (or LF alone); the document keeps one paragraph break per line.
    decoded.remove(QLatin1Char('\r'));
    if (decoded.isEmpty()) {
        return;
    }
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(decoded);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void OutputView::DeleteLast()
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.deletePreviousChar();
}

void OutputView::ClearOutput()
{
    clear();
    m_decoder.resetState();
}

bool OutputView::SaveToFile()
{
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Save;
    request.filter = "Text files|*.txt|All files|*||";
    request.confirmOverwrite = true;
    const QString path = m_ui.AskFileName(this, request).value_or(QString());
    if (path.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toPlainText().toUtf8()) < 0 || !file.commit()) {
        m_ui.ShowMessage(
            this, tr("Cannot save the output to %1.").arg(path), QStringLiteral("Error"), ui::MessageIcon::Warning);
        return false;
    }
    return true;
}

void OutputView::CopyAll()
{
    QApplication::clipboard()->setText(toPlainText());
}

void OutputView::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    menu->addSeparator();
    menu->addAction(tr("Copy All"), this, &OutputView::CopyAll);
    menu->addAction(tr("Save Output As..."), this, &OutputView::SaveToFile);
    menu->exec(event->globalPos());
}

} // namespace downloader
