#include "editor/views/TreeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace editor {

namespace {
const QColor kInk(96, 96, 96);
const QColor kFill(176, 176, 176);

void DrawSatellite(QPainter& p)
{
    // Body with two solar wings and an antenna.
    p.setBrush(kFill);
    p.drawRect(QRectF(6.5, 5.5, 3, 5));
    p.drawRect(QRectF(0.5, 6.5, 4, 3));
    p.drawRect(QRectF(11.5, 6.5, 4, 3));
    p.drawLine(QPointF(4.5, 8), QPointF(6.5, 8));
    p.drawLine(QPointF(9.5, 8), QPointF(11.5, 8));
    p.drawLine(QPointF(8, 5.5), QPointF(8, 2));
    p.drawEllipse(QPointF(8, 2), 1.2, 1.2);
}

void DrawDish(QPainter& p)
{
    // A tilted bowl on a stand, with the feed arm.
    QPainterPath bowl;
    bowl.moveTo(2, 3);
    bowl.quadTo(3, 12, 12, 12);
    bowl.closeSubpath();
    p.setBrush(kFill);
    p.drawPath(bowl);
    p.drawLine(QPointF(7, 7.5), QPointF(12, 2.5));
    p.drawEllipse(QPointF(12.5, 2.5), 1.2, 1.2);
    p.drawLine(QPointF(6, 10.5), QPointF(6, 15));
    p.drawLine(QPointF(3, 15), QPointF(10, 15));
}

void DrawScreen(QPainter& p)
{
    // A television: screen in a cabinet, on a foot.
    p.setBrush(kFill);
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 10), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 4.5, 11, 6));
    p.drawLine(QPointF(8, 12.5), QPointF(8, 14.5));
    p.drawLine(QPointF(4, 14.5), QPointF(12, 14.5));
}

QPixmap Pictogram(int image, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(QPen(kInk, 1));
    switch (image) {
    case DishImage:
        DrawDish(painter);
        break;
    case ScreenImage:
        DrawScreen(painter);
        break;
    default:
        DrawSatellite(painter);
        break;
    }
    return pixmap;
}
} // namespace

QIcon TreeIcon(int image)
{
    QIcon icon;
    icon.addPixmap(Pictogram(image, 16));
    icon.addPixmap(Pictogram(image, 32));
    return icon;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QString(":/icons/org.corvane.Corvane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace editor
