// The "&Image" menu: effects that turn, frame or recombine the picture as a whole.
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <string>

#include "imaging/effects/effectgroups.h"
#include "imaging/effects/magickeffect.h"
#include "imaging/error.h"

namespace imaging::effects {

namespace {

const QStringList colourChoices{QStringLiteral("Black"), QStringLiteral("White"), QStringLiteral("Gray")};

Magick::ColorRGB chosenColour(int choice)
{
    switch (choice) {
    case 1:
        return rgb(255, 255, 255);
    case 2:
        return rgb(128, 128, 128);
    default:
        return rgb(0, 0, 0);
    }
}

QImage mirror(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { in.values[0] == 0 ? image.flop() : image.flip(); });
}

// The pasted picture at a place given in percent of the picture, blended by its opacity.
QImage pasteImage(const EffectInput& in)
{
    if (in.pasted.isNull())
        throw Error(ErrorCode::NothingToPaste, QStringLiteral("There is no picture on the clipboard to paste"));
    const QImage pasted = in.pasted.convertToFormat(QImage::Format_ARGB32);
    const int x = in.picture.width() * in.values[0] / 100;
    const int y = in.picture.height() * in.values[1] / 100;
    const bool opaque = in.values[2] == 100;
    return withMagick(in, [&](Magick::Image& image) {
        Magick::Image overlay(static_cast<size_t>(pasted.width()), static_cast<size_t>(pasted.height()), "BGRA",
                              Magick::CharPixel, pasted.constBits());
        if (opaque) {
            image.composite(overlay, x, y, Magick::OverCompositeOp);
            return;
        }
        image.artifact("compose:args", std::to_string(in.values[2]));
        image.composite(overlay, x, y, Magick::DissolveCompositeOp);
    });
}

QImage invert(const EffectInput& in)
{
    return withMagick(in, [](Magick::Image& image) { image.negate(); });
}

QImage rotate(const EffectInput& in)
{
    // Quarter turns move pixels without resampling; Qt does those in one fast pass.
    if (in.values[0] % 90 == 0)
        return in.picture.transformed(QTransform().rotate(in.values[0]));
    return withMagick(in, [&](Magick::Image& image) {
        image.backgroundColor(chosenColour(in.values[1]));
        image.rotate(in.values[0]);
    });
}

QImage borders(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        const auto width = static_cast<size_t>(in.values[0]);
        image.borderColor(chosenColour(in.values[1]));
        image.border(Magick::Geometry(width, width));
    });
}

// The picture fading into the colour towards its edges: a blurred rectangle as the mask.
QImage borderFade(const EffectInput& in)
{
    const int width = std::min({in.values[0], in.picture.width() / 2, in.picture.height() / 2});
    QImage mask(in.picture.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.fillRect(in.picture.rect().adjusted(width, width, -width, -width), Qt::white);
    }
    const std::vector<int> none;
    const QImage blurred = withMagick({mask, none, in.pasted, in.control},
                                      [&](Magick::Image& image) { image.blur(0, std::max(1, width) / 2.0); });
    const QRgb colour = in.values[1] == 1   ? qRgb(255, 255, 255)
                        : in.values[1] == 2 ? qRgb(128, 128, 128)
                                            : qRgb(0, 0, 0);
    QImage result = in.picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* weights = reinterpret_cast<const QRgb*>(blurred.constScanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int keep = qGray(weights[x]);
            const auto mix = [keep](int own, int other) { return (own * keep + other * (255 - keep)) / 255; };
            row[x] = qRgb(mix(qRed(row[x]), qRed(colour)), mix(qGreen(row[x]), qGreen(colour)),
                          mix(qBlue(row[x]), qBlue(colour)));
        }
    }
    return result;
}

QImage edgeDetection(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.edge(in.values[0]); });
}

QImage grayArea(const EffectInput& in)
{
    return withMagick(in, [](Magick::Image& image) { image.type(Magick::GrayscaleType); });
}

// The picture shrunk to one tile and repeated over its own size.
QImage tileMaker(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        const size_t columns = image.columns();
        const size_t rows = image.rows();
        const auto tiles = static_cast<size_t>(in.values[0]);
        Magick::Image tile = image;
        tile.resize(Magick::Geometry(std::max<size_t>(1, columns / tiles), std::max<size_t>(1, rows / tiles)));
        Magick::Image canvas(Magick::Geometry(columns, rows), rgb(0, 0, 0));
        canvas.texture(tile);
        image = canvas;
    });
}

} // namespace

std::vector<Effect> imageEffects()
{
    const QStringList directions{QStringLiteral("Left to right"), QStringLiteral("Top to bottom")};
    return {
        {QStringLiteral("Mirror"), {{QStringLiteral("Direction"), 0, 1, 0, directions}}, mirror},
        {QStringLiteral("Paste Image"),
         {{QStringLiteral("Left (%)"), 0, 100, 0},
          {QStringLiteral("Top (%)"), 0, 100, 0},
          {QStringLiteral("Opacity (%)"), 0, 100, 100}},
         pasteImage},
        {QStringLiteral("Invert"), {}, invert},
        {QStringLiteral("Rotate"),
         {{QStringLiteral("Angle (degrees)"), -360, 360, 90}, {QStringLiteral("Background"), 0, 2, 0, colourChoices}},
         rotate},
        {QStringLiteral("Borders"),
         {{QStringLiteral("Width (pixels)"), 1, 1000, 20}, {QStringLiteral("Colour"), 0, 2, 0, colourChoices}},
         borders},
        {QStringLiteral("Border Fade"),
         {{QStringLiteral("Width (pixels)"), 1, 1000, 40}, {QStringLiteral("Colour"), 0, 2, 1, colourChoices}},
         borderFade},
        {QStringLiteral("Edge Detection"), {{QStringLiteral("Radius"), 1, 10, 1}}, edgeDetection},
        {QStringLiteral("Gray Area"), {}, grayArea},
        {QStringLiteral("Tile Maker"), {{QStringLiteral("Tiles across"), 1, 20, 3}}, tileMaker},
    };
}

} // namespace imaging::effects
