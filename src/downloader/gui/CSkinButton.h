#pragma once

#include <QPushButton>

namespace downloader {

// A push button drawn with a rounded black outline and a light vertical gradient; an orange inner frame
// while the mouse is over it, a blue one and a focus rectangle while it has the focus.
class CSkinButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CSkinButton(const QString& text, QWidget* parent = nullptr);

    bool IsHovered() const { return m_hovered; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PaintFace(QPainter& painter) const;
    void PaintFrame(QPainter& painter) const;
    void PaintCaption(QPainter& painter) const;

    bool m_hovered = false;
};

} // namespace downloader
