#include "views/thumbnailslot.h"

#include <QMouseEvent>
#include <QPainter>

ThumbnailSlot::ThumbnailSlot(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFixedSize(93, 81);
    setCursor(Qt::PointingHandCursor);
}

void ThumbnailSlot::setImage(QImage image)
{
    image_ = std::move(image);
    update();
}

void ThumbnailSlot::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(contentsRect(), image_);
}

void ThumbnailSlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}
