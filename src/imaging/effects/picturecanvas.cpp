#include "imaging/effects/picturecanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace imaging {

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(200, 150);
    setCursor(Qt::CrossCursor);
}

void PictureCanvas::setPicture(const QImage& picture)
{
    picture_ = picture;
    preview_ = QImage();
    scaled_ = QImage();
    selection_ = selection_.intersected(picture_.rect());
    update();
}

void PictureCanvas::setPreview(const QImage& preview)
{
    preview_ = preview;
    scaled_ = QImage();
    update();
}

void PictureCanvas::setSelection(const QRect& area)
{
    selection_ = area.normalized().intersected(picture_.rect());
    update();
    emit selectionChanged();
}

void PictureCanvas::resetSelection()
{
    setSelection(QRect());
}

void PictureCanvas::setSelectionHidden(bool hidden)
{
    selectionHidden_ = hidden;
    update();
}

QRectF PictureCanvas::pictureRect() const
{
    if (picture_.isNull())
        return {};
    const QSizeF fitted = QSizeF(picture_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QSizeF shown =
        picture_.width() <= width() && picture_.height() <= height() ? QSizeF(picture_.size()) : fitted;
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

QPoint PictureCanvas::toPicture(const QPointF& point) const
{
    const QRectF shown = pictureRect();
    if (shown.isEmpty())
        return {};
    const double scale = picture_.width() / shown.width();
    return QPoint(std::clamp(int((point.x() - shown.left()) * scale), 0, picture_.width()),
                  std::clamp(int((point.y() - shown.top()) * scale), 0, picture_.height()));
}

void PictureCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    const QRectF shown = pictureRect();
    if (shown.isEmpty())
        return;
    const QSize pixels = (shown.size() * devicePixelRatioF()).toSize();
    if (scaled_.size() != pixels) {
        const QImage& source = preview_.isNull() ? picture_ : preview_;
        scaled_ = source.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    painter.drawImage(shown.topLeft(), scaled_);
    if (selection_.isEmpty() || selectionHidden_)
        return;
    const double scale = shown.width() / picture_.width();
    const QRectF area(shown.left() + selection_.left() * scale, shown.top() + selection_.top() * scale,
                      selection_.width() * scale, selection_.height() * scale);
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.drawRect(area);
}

void PictureCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || picture_.isNull())
        return;
    dragging_ = true;
    dragStart_ = toPicture(event->position());
    setSelection(QRect());
}

void PictureCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_)
        setSelection(QRect(dragStart_, toPicture(event->position())));
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        setSelection(QRect(dragStart_, toPicture(event->position())));
    }
}

} // namespace imaging
