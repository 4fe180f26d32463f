#include "downloader/gui/CSkinButton.h"

#include "downloader/core/SkinButtonLook.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace downloader {

namespace {

QColor ToColor(const Rgb& rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

// Corners are rounded with a 5 by 5 ellipse.
constexpr qreal kCornerRadius = 2.5;

} // namespace

CSkinButton::CSkinButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    setAttribute(Qt::WA_Hover);
}

void CSkinButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

void CSkinButton::PaintFace(QPainter& painter) const
{
    const QRect face = rect().adjusted(1, 1, -1, -1);
    for (int row = 0; row < face.height(); ++row) {
        const Rgb colour = SkinBandColour(SkinBandForRow(row, face.height()), m_hovered);
        painter.setPen(ToColor(colour));
        painter.drawLine(face.left(), face.top() + row, face.right(), face.top() + row);
    }
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}

void CSkinButton::PaintFrame(QPainter& painter) const
{
    const bool focused = hasFocus() && !m_hovered;
    if (!m_hovered && !focused) {
        return;
    }
    const SkinFrame frame = m_hovered ? SkinHoverFrame() : SkinFocusFrame();
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(QRect(inner.left(), inner.top(), frame.sideWidth, inner.height()), ToColor(frame.left));
    painter.fillRect(QRect(inner.right() - frame.sideWidth + 1, inner.top(), frame.sideWidth, inner.height()),
                     ToColor(frame.right));
    painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), frame.edgeWidth), ToColor(frame.top));
    painter.fillRect(QRect(inner.left(), inner.bottom() - frame.edgeWidth + 1, inner.width(), frame.edgeWidth),
                     ToColor(frame.bottom));
    if (focused) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect
            = inner.adjusted(frame.sideWidth + 1, frame.edgeWidth + 1, -frame.sideWidth - 1, -frame.edgeWidth - 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CSkinButton::PaintCaption(QPainter& painter) const
{
    QRect area = rect();
    if (isDown()) {
        area.translate(1, 1);
    }
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void CSkinButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    PaintFace(painter);
    PaintFrame(painter);
    PaintCaption(painter);
}

} // namespace downloader
