#include "support/FakeUiServices.h"

#include "ui/FileFilter.h"

#include <QPushButton>
#include <QtTest>

namespace testsupport {

void FakeUiServices::ShowMessage(QWidget*, const QString& text, const QString& caption, ui::MessageIcon icon)
{
    messages.push_back(Message{text, caption, icon, false, false, IsBusy(), QString()});
}

void FakeUiServices::ShowMessageWithDetail(
    QWidget*, const QString& text, const QString& caption, ui::MessageIcon icon, const QString& detail)
{
    messages.push_back(Message{text, caption, icon, false, false, IsBusy(), detail});
}

ui::Answer FakeUiServices::Ask(QWidget*, const QString& text, const QString& caption, bool withCancel)
{
    messages.push_back(Message{text, caption, ui::MessageIcon::Information, true, withCancel, IsBusy(), QString()});
    if (m_answers.empty()) {
        return ui::Answer::No;
    }
    const ui::Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<QString> FakeUiServices::AskFileName(QWidget*, const ui::FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (m_fileAnswers.empty()) {
        return std::nullopt;
    }
    const FileAnswer answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (answer.cancelled) {
        return std::nullopt;
    }
    return answer.path;
}

int FakeUiServices::ExecDialog(QDialog& dialog)
{
    dialogTitles.push_back(dialog.windowTitle());
    if (m_dialogScripts.empty()) {
        return QDialog::Rejected;
    }
    DialogScript script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    return script(dialog);
}

void FakeUiServices::SetBusy(bool busy)
{
    m_busyDepth += busy ? 1 : -1;
    busyCount += busy ? 1 : 0;
}

QStringList FakeUiServices::Texts() const
{
    QStringList texts;
    for (const Message& message : messages) {
        texts << message.text;
    }
    return texts;
}

QStringList FakeUiServices::FileDialogKinds() const
{
    QStringList kinds;
    for (const ui::FileDialogRequest& request : fileRequests) {
        kinds << (request.mode == ui::FileDialogRequest::Mode::Open ? QStringLiteral("open") : QStringLiteral("save"));
    }
    return kinds;
}

QStringList FakeUiServices::QtFilters() const
{
    QStringList filters;
    for (const ui::FileDialogRequest& request : fileRequests) {
        filters << QString::fromStdString(ui::ToQtNameFilter(request.filter));
    }
    return filters;
}

void ClickButton(QDialog& dialog, const char* objectName)
{
    auto* button = dialog.findChild<QPushButton*>(objectName);
    QVERIFY2(button != nullptr, objectName);
    button->click();
}

} // namespace testsupport
