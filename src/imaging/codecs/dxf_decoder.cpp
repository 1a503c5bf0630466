#include "imaging/codecs/decoders.h"
#include "imaging/codecs/dxf_drawing.h"
#include "imaging/codecs/row_sink.h"

#include <cmath>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

namespace imaging::codecs {

namespace {

// Drawings have no pixel size of their own; this is the longest side they get without a box.
constexpr int drawingSize = 1024;

// World units to canvas pixels: y turned upwards, a margin of 1 % of the canvas around the lines.
class CanvasMapping {
public:
    CanvasMapping(const QRectF& extent, QSize canvas)
        : extent_(extent), margin_(std::max(1.0, 0.01 * std::max(canvas.width(), canvas.height())))
    {
        const double width = std::max(extent.width(), 1e-9);
        const double height = std::max(extent.height(), 1e-9);
        scale_ = std::min((canvas.width() - 2 * margin_) / width, (canvas.height() - 2 * margin_) / height);
        scale_ = std::max(scale_, 0.0);
    }

    QPointF map(QPointF world) const
    {
        return {margin_ + (world.x() - extent_.left()) * scale_, margin_ + (extent_.bottom() - world.y()) * scale_};
    }
    double scale() const { return scale_; }

private:
    QRectF extent_;
    double margin_;
    double scale_;
};

QSize canvasSize(const QRectF& extent)
{
    const double longest = std::max(extent.width(), extent.height());
    if (longest <= 0.0)
        return {drawingSize / 8, drawingSize / 8}; // a lone point or text without size
    const auto side = [&](double length) {
        return std::max(1, static_cast<int>(std::lround(length / longest * drawingSize)));
    };
    return {side(extent.width()), side(extent.height())};
}

void paint(const DxfDrawing& drawing, QImage& canvas)
{
    const CanvasMapping mapping(drawing.extent(), canvas.size());
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0)); // cosmetic: one pixel wide at any scale
    for (const QPolygonF& path : drawing.paths) {
        QPolygonF mapped;
        mapped.reserve(path.size());
        for (const QPointF& point : path)
            mapped << mapping.map(point);
        painter.drawPolyline(mapped);
    }
    // Text needs Qt's font machinery, which exists only in a GUI application; without one
    // (command-line tools) drawings are shown without their texts.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    for (const DxfText& text : drawing.texts) {
        const double pixelHeight = text.height * mapping.scale();
        if (!(pixelHeight >= 1.0))
            continue;
        QFont font = painter.font();
        font.setPixelSize(static_cast<int>(std::min(pixelHeight, 4.0 * drawingSize)));
        painter.setFont(font);
        painter.save();
        painter.translate(mapping.map(text.origin));
        painter.rotate(-text.angleDegrees);
        painter.drawText(QPointF(0, 0), text.text);
        painter.restore();
    }
}

} // namespace

DecodedPicture decodeDxf(QByteArrayView bytes, DecodeRequest& request)
{
    Progress progress(request.control, QStringLiteral("Reading DXF drawing"));
    progress.step(0, 1);
    const DxfDrawing drawing = readDxf(bytes, progress);
    const QSize fullSize = canvasSize(drawing.extent());
    QImage canvas =
        reuseOrAllocate(std::move(request.buffer), fittedSize(fullSize, request.fitInto), QImage::Format_RGB32);
    paint(drawing, canvas);
    progress.report(100);
    return {std::move(canvas), PictureFormat::Dxf, fullSize, 1};
}

} // namespace imaging::codecs
