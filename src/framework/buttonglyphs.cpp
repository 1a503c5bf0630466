#include "framework/buttonglyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

#include <functional>

namespace glyphs {

namespace {

constexpr int size = 24;
const QColor upRed(200, 30, 30);
const QColor downGreen(20, 170, 40);

QPixmap canvas(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

QPixmap arrow(bool pointsRight, const QColor& colour)
{
    return canvas([&](QPainter& p) {
        QPainterPath path;
        path.moveTo(4, 9);
        path.lineTo(12, 9);
        path.lineTo(12, 4);
        path.lineTo(21, 12);
        path.lineTo(12, 20);
        path.lineTo(12, 15);
        path.lineTo(4, 15);
        path.closeSubpath();
        if (!pointsRight)
            path = QTransform(-1, 0, 0, 1, size, 0).map(path);
        p.setPen(QPen(colour.darker(150), 1));
        p.setBrush(colour);
        p.drawPath(path);
    });
}

QIcon twoState(const QPixmap& up, const QPixmap& down)
{
    QIcon icon;
    icon.addPixmap(up, QIcon::Normal, QIcon::Off);
    icon.addPixmap(down, QIcon::Normal, QIcon::On);
    return icon;
}

// A magnifier with a mark drawn inside its lens.
QIcon magnifier(const std::function<void(QPainter&)>& mark)
{
    return QIcon(canvas([&](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 2.5));
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QPointF(10, 10), 7, 7);
        p.setPen(QPen(QColor(90, 60, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15.5, 15.5), QPointF(21, 21));
        p.setPen(QPen(QColor(20, 20, 20), 2, Qt::SolidLine, Qt::RoundCap));
        mark(p);
    }));
}

} // namespace

QIcon stepBack()
{
    return twoState(arrow(false, upRed), arrow(false, downGreen));
}

QIcon stepForward()
{
    return twoState(arrow(true, upRed), arrow(true, downGreen));
}

QIcon playStop()
{
    const QPixmap play = canvas([](QPainter& p) {
        QPainterPath triangle;
        triangle.moveTo(6, 4);
        triangle.lineTo(20, 12);
        triangle.lineTo(6, 20);
        triangle.closeSubpath();
        p.setPen(QPen(downGreen.darker(150), 1));
        p.setBrush(downGreen);
        p.drawPath(triangle);
    });
    const QPixmap stop = canvas([](QPainter& p) {
        p.setPen(QPen(upRed.darker(150), 1));
        p.setBrush(upRed);
        p.drawRect(QRectF(5, 5, 14, 14));
    });
    return twoState(play, stop);
}

QIcon findNext()
{
    return magnifier([](QPainter& p) {
        p.drawLine(QPointF(6.5, 10), QPointF(13, 10));
        p.drawLine(QPointF(10.5, 7.5), QPointF(13, 10));
        p.drawLine(QPointF(10.5, 12.5), QPointF(13, 10));
    });
}

QIcon zoomIn()
{
    return magnifier([](QPainter& p) {
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
        p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    });
}

QIcon zoomOut()
{
    return magnifier([](QPainter& p) { p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10)); });
}

QIcon thumbnails()
{
    return QIcon(canvas([](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column) {
                p.setBrush(QColor::fromHsv((row * 3 + column) * 40, 120, 220));
                p.drawRect(QRectF(2.5 + column * 7, 2.5 + row * 7, 5.5, 5.5));
            }
    }));
}

QIcon fullScreen()
{
    return QIcon(canvas([](QPainter& p) {
        p.setPen(QPen(QColor(30, 30, 30), 2, Qt::SolidLine, Qt::SquareCap));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(7, 7, 10, 10));
        const QPointF corners[] = {{3, 3}, {21, 3}, {3, 21}, {21, 21}};
        for (const QPointF& corner : corners) {
            const QPointF inward((corner.x() < 12 ? 4 : -4), (corner.y() < 12 ? 4 : -4));
            p.drawLine(corner, corner + inward);
            p.drawLine(corner, corner + QPointF(inward.x(), 0));
            p.drawLine(corner, corner + QPointF(0, inward.y()));
        }
    }));
}

QIcon exit()
{
    return QIcon(canvas([](QPainter& p) {
        p.setPen(QPen(QColor(60, 40, 20), 1.5));
        p.setBrush(QColor(150, 100, 50));
        p.drawRect(QRectF(5, 3, 12, 18));
        p.setBrush(QColor(240, 200, 60));
        p.drawEllipse(QPointF(14, 12), 1.3, 1.3);
        p.setPen(QPen(upRed, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 12), QPointF(22, 12));
        p.drawLine(QPointF(19, 9), QPointF(22, 12));
        p.drawLine(QPointF(19, 15), QPointF(22, 12));
    }));
}

} // namespace glyphs
