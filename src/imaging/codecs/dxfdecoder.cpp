#include "imaging/codecs/decoders.h"
#include "imaging/codecs/dxfdrawing.h"
#include "imaging/codecs/rowsink.h"
#include "imaging/error.h"

#include <cmath>
#include <optional>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

namespace imaging::codecs {

namespace {

// Drawings have no pixel size of their own; this is the longest side they get without a box.
constexpr int drawingSize = 1024;
constexpr double largestTextPixels = 4.0 * drawingSize;
// What painting may cost, in pixels of line length (about 70 million a second); a path and a
// character cost as much as the line length they take about as long for.
constexpr double paintBudget = 1e8;
constexpr double pathCost = 35.0;
constexpr double characterCost = 70.0;
constexpr double characterCostPerPixel = 28.0;
// Paths painted between checks for a cancel request.
constexpr size_t cancelCheckInterval = 256;

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

// The size texts are painted at; none for texts too small to see.
std::optional<int> textPixels(const DxfText& text, const CanvasMapping& mapping)
{
    const double pixelHeight = text.height * mapping.scale();
    if (!(pixelHeight >= 1.0))
        return std::nullopt;
    return static_cast<int>(std::min(pixelHeight, largestTextPixels));
}

// Refuses drawings whose lines on this canvas are so long, or so many, that painting them
// would take more than a second or two.
void checkPaintCost(const DxfDrawing& drawing, const CanvasMapping& mapping)
{
    double cost = 0.0;
    for (const QPolygonF& path : drawing.paths) {
        cost += pathCost;
        for (qsizetype i = 1; i < path.size(); ++i) {
            const QPointF step = mapping.map(path[i]) - mapping.map(path[i - 1]);
            cost += std::hypot(step.x(), step.y());
        }
    }
    for (const DxfText& text : drawing.texts) {
        if (const std::optional<int> pixels = textPixels(text, mapping))
            cost += static_cast<double>(text.text.size()) * (characterCost + characterCostPerPixel * *pixels);
    }
    if (!(cost <= paintBudget)) {
        throw Error(ErrorCode::TooLarge,
                    QStringLiteral("The DXF drawing is too large to show: its lines and texts would take too long "
                                   "to draw"));
    }
}

void paint(const DxfDrawing& drawing, QImage& canvas, Progress& progress)
{
    const CanvasMapping mapping(drawing.extent(), canvas.size());
    checkPaintCost(drawing, mapping);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0)); // cosmetic: one pixel wide at any scale
    const auto count = static_cast<qint64>(drawing.paths.size() + drawing.texts.size());
    const auto painted = [&](size_t done) {
        if (done % cancelCheckInterval == 0)
            progress.step(95 * count + 5 * static_cast<qint64>(done), 100 * count);
    };
    for (size_t i = 0; i < drawing.paths.size(); ++i) {
        painted(i);
        const QPolygonF& path = drawing.paths[i];
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
    for (size_t i = 0; i < drawing.texts.size(); ++i) {
        painted(drawing.paths.size() + i);
        const DxfText& text = drawing.texts[i];
        const std::optional<int> pixels = textPixels(text, mapping);
        if (!pixels)
            continue;
        QFont font = painter.font();
        font.setPixelSize(*pixels);
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
    paint(drawing, canvas, progress);
    progress.report(100);
    return {std::move(canvas), PictureFormat::Dxf, fullSize, 1};
}

} // namespace imaging::codecs
