#pragma once

#include "common/UiHooks.h"

#include <QString>

#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace editor {

// What a file dialog is asked for; the filter is in the bar-separated form of FileFilter.h.
struct FileDialogRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string filter;
    std::string defaultExtension; // without the dot; empty for none
    std::string initialName; // empty for none
    bool mustExist = false;
};

// Every message box, file dialog and modal dialog of the editor goes through here, so tests can
// run the whole window with a scripted fake and assert each text, caption and icon.
class IUiServices
{
public:
    virtual ~IUiServices() = default;
    // A modal message box with one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption, core::UiIcon icon) = 0;
    // The chosen file's full path, or nothing when the user cancelled.
    [[nodiscard]] virtual std::optional<QString> AskFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& dialog) = 0;
    // Shows or takes away the wait cursor; calls nest.
    virtual void SetBusy(bool busy) = 0;
};

// The wait cursor for one scope.
class BusyCursor
{
public:
    explicit BusyCursor(IUiServices& services)
        : m_services(services)
    {
        m_services.SetBusy(true);
    }
    ~BusyCursor() { m_services.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    IUiServices& m_services;
};

} // namespace editor
