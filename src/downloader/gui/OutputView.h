#pragma once

#include "downloader/core/OutputText.h"

#include <QPlainTextEdit>
#include <QStringDecoder>

namespace ui {
class UiServices;
} // namespace ui

namespace downloader {

// The console-like output area: white on black, read-only, always showing its end after a write.
// Its context menu adds copying all of it and saving it to a file.
class OutputView final : public QPlainTextEdit, public IOutputSink
{
    Q_OBJECT
public:
    OutputView(ui::UiServices& ui, QWidget* parent);

    bool IsEmpty() const override;
    bool EndsWithLineBreak() const override;
    void Append(std::string_view text) override;
    void DeleteLast() override;

    // Empties the area (the Clear button).
    void ClearOutput();
    // Asks for a file and writes the whole text to it; false when cancelled or not written.
    [[nodiscard]] bool SaveToFile();
    // Puts the whole text on the clipboard.
    void CopyAll();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ui::UiServices& m_ui;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

} // namespace downloader
