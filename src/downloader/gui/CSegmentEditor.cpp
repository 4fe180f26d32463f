#include "downloader/gui/CSegmentEditor.h"

#include "downloader/core/ConfigFile.h"
#include "downloader/core/SegmentTableFile.h"
#include "ui/UiServices.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace downloader {

namespace {

const QString kInformation = QStringLiteral("Information");

// The file keeps CR LF line breaks in the editor's text; the Qt editor works with LF.
QString FileTextToEditor(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

std::string EditorTextToFile(const QString& text)
{
    QString stored = text;
    stored.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return stored.toStdString();
}

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CSegmentEditor::CSegmentEditor(ui::UiServices& ui, QString iniPath, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_ui(ui)
    , m_iniPath(std::move(iniPath))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setReadOnly(true);
}

void CSegmentEditor::StartUp()
{
    const std::optional<std::string> text = ReadConfigForEditor(m_iniPath.toStdString());
    if (text) {
        setPlainText(FileTextToEditor(*text));
    } else {
        // Unwritable, the file stays missing: the editor shows the default table all the same and the
        // Section list stays empty, so downloads ask for a section.
        (void)WriteConfigFile(m_iniPath.toStdString(), DefaultConfigText());
        setPlainText(FileTextToEditor(std::string(DefaultConfigText())));
    }
    Lock();
    emit ConfigWritten();
}

void CSegmentEditor::Lock()
{
    m_locked = true;
    setReadOnly(true);
}

void CSegmentEditor::WriteConfig(const QString& text)
{
    // A failed write leaves the previous table in the file, and the Section list reloaded below shows that.
    (void)WriteConfigFile(m_iniPath.toStdString(), EditorTextToFile(text));
    emit ConfigWritten();
}

bool CSegmentEditor::HandleUnlockKey(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == kUnlockFirst && m_unlockProgress == 0) {
        m_unlockProgress = 1;
    } else if (key == kUnlockSecond && m_unlockProgress == 1) {
        m_unlockProgress = 2;
    } else if (IsEnter(key) && m_unlockProgress == 2) {
        m_unlockProgress = 0;
        m_locked = false;
        setReadOnly(false);
        m_savedText = toPlainText();
        return true;
    }
    return false;
}

void CSegmentEditor::RestoreDefaults()
{
    // As in WriteConfig: a failed write keeps the previous table in the file and the Section list.
    (void)WriteConfigFile(m_iniPath.toStdString(), DefaultConfigText());
    setPlainText(FileTextToEditor(std::string(DefaultConfigText())));
    Lock();
    emit ConfigWritten();
    m_ui.ShowMessage(
        this, QStringLiteral("Have recovered the default configuration!"), kInformation, ui::MessageIcon::Information);
}

void CSegmentEditor::keyPressEvent(QKeyEvent* event)
{
    if (m_locked) {
        if (HandleUnlockKey(*event)) {
            event->accept();
            return;
        }
    } else if (event->key() == Qt::Key_R && event->modifiers() == Qt::ControlModifier) {
        RestoreDefaults();
    }
    QPlainTextEdit::keyPressEvent(event);
    // Enter belongs to the editor: it must never reach the dialog and start a download.
    if (IsEnter(event->key())) {
        event->accept();
    }
}

void CSegmentEditor::AskOnLeaving()
{
    if (toPlainText() != m_savedText) {
        switch (m_ui.Ask(this, QStringLiteral("Are you sure to save your changes?"), kInformation, true)) {
        case ui::Answer::Yes:
            WriteConfig(toPlainText());
            Lock();
            break;
        case ui::Answer::No:
            WriteConfig(m_savedText);
            setPlainText(m_savedText);
            Lock();
            break;
        case ui::Answer::Cancel:
            setFocus(Qt::OtherFocusReason);
            break;
        }
        return;
    }
    if (m_ui.Ask(this, QStringLiteral("Are you sure to cancel editing?"), kInformation, false) == ui::Answer::Yes) {
        setPlainText(m_savedText);
        Lock();
    } else {
        setFocus(Qt::OtherFocusReason);
    }
}

void CSegmentEditor::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // Switching to another window or opening a menu does not leave the editor; the question box itself
    // takes the focus, hence the guard.
    const bool leaving = event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (m_locked || m_asking || !leaving) {
        return;
    }
    m_asking = true;
    AskOnLeaving();
    m_asking = false;
}

} // namespace downloader
