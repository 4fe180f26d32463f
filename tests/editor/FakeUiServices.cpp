#include "FakeUiServices.h"

#include <QPushButton>
#include <QtTest>

using core::UiIcon;

namespace editor {

void FakeUiServices::ShowMessage(QWidget*, const QString& text, const QString& caption, UiIcon icon)
{
    messages.push_back({text, caption, icon, IsBusy()});
}

std::optional<QString> FakeUiServices::AskFileName(QWidget*, const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (m_fileAnswers.empty()) {
        return std::nullopt; // an unscripted dialog is cancelled
    }
    std::optional<QString> answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
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

void ClickButton(QDialog& dialog, const char* objectName)
{
    auto* button = dialog.findChild<QPushButton*>(objectName);
    QVERIFY2(button != nullptr, objectName);
    button->click();
}

} // namespace editor
