#pragma once

#include <QPlainTextEdit>

namespace ui {
class UiServices;
} // namespace ui

namespace downloader {

// The segment table editor: shows config.ini, read-only until the unlock keys are typed (the two letters
// below, then Enter). While unlocked, Ctrl+R restores the default table, and leaving the editor asks
// whether to keep the changes. Every write of the file is announced through ConfigWritten.
class CSegmentEditor final : public QPlainTextEdit
{
    Q_OBJECT
public:
    CSegmentEditor(ui::UiServices& ui, QString iniPath, QWidget* parent);

    // Shows config.ini, creating it with the default table when it cannot be opened; locks the editor.
    void StartUp();
    bool IsLocked() const { return m_locked; }

    // The unlock letters, typed in this order while the editor has the focus, then Enter.
    static constexpr Qt::Key kUnlockFirst = Qt::Key_K;
    static constexpr Qt::Key kUnlockSecond = Qt::Key_B;

signals:
    void ConfigWritten();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool HandleUnlockKey(const QKeyEvent& event);
    void RestoreDefaults();
    void AskOnLeaving();
    void WriteConfig(const QString& text);
    void Lock();

    ui::UiServices& m_ui;
    QString m_iniPath;
    QString m_savedText;
    bool m_locked = true;
    bool m_asking = false;
    int m_unlockProgress = 0;
};

} // namespace downloader
