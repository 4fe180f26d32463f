#pragma once

#include "ui/UiServices.h"

#include <QString>

#include <functional>

// Dialog services that say nothing and answer the filter dialog with one condition: the column
// under the given header equal to the given value.
class ScriptedFilterUi final : public ui::UiServices
{
public:
    ScriptedFilterUi(QString header, QString value);

    void ShowMessage(QWidget*, const QString&, const QString&, ui::MessageIcon) override { }
    void ShowMessageWithDetail(QWidget*, const QString&, const QString&, ui::MessageIcon, const QString&) override { }
    ui::Answer Ask(QWidget*, const QString&, const QString&, bool) override { return ui::Answer::No; }
    std::optional<QString> AskFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    int ExecDialog(QDialog& dialog) override;
    void SetBusy(bool) override { }

private:
    QString m_header;
    QString m_value;
};

// The wall time of one call of f, in milliseconds.
double Ms(const std::function<void()>& f);
