#include "editor/views/ToolbarIcons.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace editor {

namespace {
const QColor kInk(40, 40, 40);

QIcon Draw(const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1));
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

void Page(QPainter& p, qreal x, qreal y)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(x + 0.5, y + 0.5, 7, 9));
    p.drawLine(QPointF(x + 2, y + 3), QPointF(x + 6, y + 3));
    p.drawLine(QPointF(x + 2, y + 5), QPointF(x + 6, y + 5));
}
} // namespace

QIcon CutIcon()
{
    return Draw([](QPainter& p) {
        p.drawLine(QPointF(5, 1), QPointF(10, 10));
        p.drawLine(QPointF(11, 1), QPointF(6, 10));
        p.drawEllipse(QPointF(4.5, 12), 2, 2);
        p.drawEllipse(QPointF(11.5, 12), 2, 2);
    });
}

QIcon CopyIcon()
{
    return Draw([](QPainter& p) {
        Page(p, 1, 1);
        Page(p, 7, 4);
    });
}

QIcon PasteIcon()
{
    return Draw([](QPainter& p) {
        p.setBrush(QColor(200, 170, 110));
        p.drawRect(QRectF(1.5, 2.5, 9, 11));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(4.5, 1.5, 3, 2));
        Page(p, 7, 4.5);
    });
}

QIcon AboutIcon()
{
    return Draw([](QPainter& p) {
        p.setBrush(QColor(250, 250, 210));
        p.drawEllipse(QRectF(1.5, 1, 13, 13));
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(1.5, 1, 13, 13), Qt::AlignCenter, "?");
    });
}

} // namespace editor
