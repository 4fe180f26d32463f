#pragma once

#include "ui/UiServices.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace testsupport {

// Scripted UI services for the window tests of both programs: every message box and question is
// recorded with its text, caption and icon; answers, file names and dialog scripts come from queues
// (an unscripted question is answered No, an unscripted file or dialog is cancelled); the wait
// cursor's state is tracked.
class FakeUiServices final : public ui::UiServices
{
public:
    struct Message
    {
        QString text;
        QString caption;
        ui::MessageIcon icon;
        bool question = false;
        bool withCancel = false;
        bool underWaitCursor = false;
        QString detail = {}; // the unfoldable detail text, empty when none
    };
    // Drives a dialog instead of the user and returns its result.
    using DialogScript = std::function<int(QDialog&)>;

    void QueueAnswer(ui::Answer answer) { m_answers.push_back(answer); }
    void QueueFile(const QString& path) { m_fileAnswers.push_back(FileAnswer{path, false}); }
    void QueueCancel() { m_fileAnswers.push_back(FileAnswer{QString(), true}); }
    void QueueDialog(DialogScript script) { m_dialogScripts.push_back(std::move(script)); }

    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, ui::MessageIcon icon) override;
    void ShowMessageWithDetail(QWidget* parent,
                               const QString& text,
                               const QString& caption,
                               ui::MessageIcon icon,
                               const QString& detail) override;
    ui::Answer Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel) override;
    std::optional<QString> AskFileName(QWidget* parent, const ui::FileDialogRequest& request) override;
    int ExecDialog(QDialog& dialog) override;
    void SetBusy(bool busy) override;

    bool IsBusy() const { return m_busyDepth > 0; }
    // The texts of all boxes and questions shown so far, in order.
    QStringList Texts() const;
    // "open" or "save" for every file dialog shown, in order.
    QStringList FileDialogKinds() const;
    // The Qt name filter every file dialog was given, in order.
    QStringList QtFilters() const;

    std::vector<Message> messages;
    std::vector<ui::FileDialogRequest> fileRequests;
    QStringList dialogTitles; // of every dialog shown, in order
    int busyCount = 0; // times the wait cursor was shown

private:
    struct FileAnswer
    {
        QString path;
        bool cancelled;
    };

    std::deque<ui::Answer> m_answers;
    std::deque<FileAnswer> m_fileAnswers;
    std::deque<DialogScript> m_dialogScripts;
    int m_busyDepth = 0;
};

// Clicks a dialog's button found by object name.
void ClickButton(QDialog& dialog, const char* objectName);

} // namespace testsupport
