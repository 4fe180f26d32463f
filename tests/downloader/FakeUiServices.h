#pragma once

#include "downloader/gui/UiServices.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace downloader {

// Scripted dialogs: every message and question is recorded; answers and file names come from queues
// (a question with no queued answer gets No, a file dialog with no queued name is cancelled).
class FakeUiServices final : public UiServices
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Icon icon;
        bool question = false;
        bool withCancel = false;
    };

    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, Icon icon) override;
    Answer Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel) override;
    QString OpenFileName(QWidget* parent, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& filter) override;

    // The texts of all boxes shown so far, in order.
    QStringList Texts() const;

    std::vector<Message> messages;
    std::deque<Answer> answers;
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    QStringList filters; // the filter of every file dialog shown
    QStringList fileDialogs; // "open" or "save" for every file dialog shown
};

} // namespace downloader
