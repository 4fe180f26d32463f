#pragma once

#include <QString>

#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace ui {

// How a message box looks.
enum class MessageIcon { Information, Warning, Error, Question };

// The button a question was answered with.
enum class Answer { Yes, No, Cancel };

// What a file dialog is asked for.
struct FileDialogRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    // Description and pattern pairs separated by bars and ended by two bars ("Text|*.txt||").
    std::string filter;
    std::string defaultExtension; // without the dot; empty for none
    std::string initialName; // empty for none
    bool mustExist = false;
    bool confirmOverwrite = false; // a save dialog asks before it replaces an existing file
};

// Every message box, question, file dialog and modal dialog of both programs goes through here, so
// tests can run a whole window with a scripted fake and assert each text, caption and icon.
class UiServices
{
public:
    virtual ~UiServices() = default;
    // A modal message box with one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) = 0;
    // As ShowMessage, with a detail text the user can unfold (none when detail is empty).
    virtual void ShowMessageWithDetail(
        QWidget* parent, const QString& text, const QString& caption, MessageIcon icon, const QString& detail)
        = 0;
    // A question with Yes and No, and Cancel when asked for; No is the default button.
    virtual Answer Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel) = 0;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<QString> AskFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& dialog) = 0;
    // Shows or takes away the wait cursor; calls nest.
    virtual void SetBusy(bool busy) = 0;
};

// The wait cursor for one scope.
class BusyCursor
{
public:
    explicit BusyCursor(UiServices& services)
        : m_services(services)
    {
        m_services.SetBusy(true);
    }
    ~BusyCursor() { m_services.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UiServices& m_services;
};

} // namespace ui
