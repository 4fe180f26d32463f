#pragma once

#include "editor/UiServices.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace editor {

// Scripted UI services: queued file answers and dialog scripts, every message box recorded with
// its text, caption and icon, and the wait cursor's state tracked.
class FakeUiServices final : public IUiServices
{
public:
    struct Message
    {
        QString text;
        QString caption;
        core::UiIcon icon;
        bool underWaitCursor;
    };
    // Drives a dialog instead of the user and returns its result.
    using DialogScript = std::function<int(QDialog&)>;

    void QueueFile(const QString& path) { m_fileAnswers.emplace_back(path); }
    void QueueCancel() { m_fileAnswers.emplace_back(std::nullopt); }
    void QueueDialog(DialogScript script) { m_dialogScripts.push_back(std::move(script)); }

    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, core::UiIcon icon) override;
    std::optional<QString> AskFileName(QWidget* parent, const FileDialogRequest& request) override;
    int ExecDialog(QDialog& dialog) override;
    void SetBusy(bool busy) override;

    bool IsBusy() const { return m_busyDepth > 0; }

    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;
    QStringList dialogTitles; // of every dialog shown, in order
    int busyCount = 0; // times the wait cursor was shown

private:
    std::deque<std::optional<QString>> m_fileAnswers;
    std::deque<DialogScript> m_dialogScripts;
    int m_busyDepth = 0;
};

// Clicks a dialog's button found by object name.
void ClickButton(QDialog& dialog, const char* objectName);

} // namespace editor
