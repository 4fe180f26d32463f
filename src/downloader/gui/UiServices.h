#pragma once

#include <QString>

class QWidget;

namespace downloader {

// Every message box, question and file dialog of Kestrun_boot goes through here, so tests can script
// the answers and check each text, caption and icon.
class UiServices
{
public:
    enum class Icon { Information, Exclamation };
    enum class Answer { Yes, No, Cancel };

    virtual ~UiServices() = default;
    // A modal box with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption, Icon icon) = 0;
    // A question with Yes and No (and Cancel when asked for); No is the default button.
    virtual Answer Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel) = 0;
    // The chosen path, or empty when cancelled. filter is in Qt's "Name (patterns);;..." form.
    virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
    // Asks before replacing an existing file.
    virtual QString SaveFileName(QWidget* parent, const QString& filter) = 0;
};

// The real dialogs.
class QtUiServices final : public UiServices
{
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, Icon icon) override;
    Answer Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel) override;
    QString OpenFileName(QWidget* parent, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& filter) override;
};

} // namespace downloader
