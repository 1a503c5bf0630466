// The "&Correction" menu: effects that change the picture's tones and colours in place.
#include "imaging/effects/effectgroups.h"
#include "imaging/effects/magickeffect.h"
#include "imaging/effects/parallelrows.h"

#include <algorithm>
#include <array>

namespace imaging::effects {

namespace {

// Each channel's levels stretched over the whole range, the darkest 0.15 % and the brightest
// 0.05 % of the pixels cut off, as ImageMagick's normalize does (ours runs on every core).
QImage autoContrast(const EffectInput& in)
{
    QImage result = in.picture.convertToFormat(QImage::Format_ARGB32);
    std::array<std::array<qint64, 256>, 3> histograms{};
    for (int y = 0; y < result.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(result.constScanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            ++histograms[0][qRed(row[x])];
            ++histograms[1][qGreen(row[x])];
            ++histograms[2][qBlue(row[x])];
        }
    }
    const qint64 pixels = qint64(result.width()) * result.height();
    std::array<std::array<quint8, 256>, 3> levels{};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        const auto& histogram = histograms[channel];
        int black = 0;
        for (qint64 seen = 0; black < 255 && (seen += histogram[std::size_t(black)]) <= pixels * 15 / 10000;)
            ++black;
        int white = 255;
        for (qint64 seen = 0; white > 0 && (seen += histogram[std::size_t(white)]) <= pixels * 5 / 10000;)
            --white;
        for (int value = 0; value < 256; ++value)
            levels[channel][std::size_t(value)] =
                white <= black ? quint8(value) : quint8(std::clamp((value - black) * 255 / (white - black), 0, 255));
    }
    forEachRow(result.height(), in.control, [&](int y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = qRgba(levels[0][std::size_t(qRed(row[x]))], levels[1][std::size_t(qGreen(row[x]))],
                           levels[2][std::size_t(qBlue(row[x]))], qAlpha(row[x]));
    });
    return result;
}

QImage bright(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.modulate(100.0 + in.values[0], 100.0, 100.0); });
}

QImage colorPalette(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        image.quantizeColors(static_cast<size_t>(in.values[0]));
        image.quantizeDither(in.values[1] == 1);
        image.quantize();
    });
}

QImage color(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        image.colorize(static_cast<unsigned>(in.values[3]), rgb(in.values[0], in.values[1], in.values[2]));
    });
}

QImage dark(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.modulate(100.0 - in.values[0], 100.0, 100.0); });
}

QImage despeckle(const EffectInput& in)
{
    return withMagick(in, [](Magick::Image& image) { image.despeckle(); });
}

QImage enhance(const EffectInput& in)
{
    return withMagick(in, [](Magick::Image& image) { image.enhance(); });
}

QImage gamma(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.gamma(in.values[0] / 100.0); });
}

QImage halfTone(const EffectInput& in)
{
    static const char* const maps[]{"h4x4a", "h6x6a", "h8x8a", "o8x8"};
    return withMagick(in, [&](Magick::Image& image) { image.orderedDither(maps[in.values[0]]); });
}

QImage hueAndSaturation(const EffectInput& in)
{
    return withMagick(in,
                      [&](Magick::Image& image) { image.modulate(100.0, 100.0 + in.values[1], 100.0 + in.values[0]); });
}

QImage sharp(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.sharpen(0, in.values[0]); });
}

QImage soft(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.blur(0, in.values[0] / 2.0); });
}

QImage threshold(const EffectInput& in)
{
    using MagickCore::Quantum;
    return withMagick(in, [&](Magick::Image& image) { image.threshold(QuantumRange * in.values[0] / 255.0); });
}

} // namespace

std::vector<Effect> correctionEffects()
{
    const QStringList screens{QStringLiteral("Fine"), QStringLiteral("Medium"), QStringLiteral("Coarse"),
                              QStringLiteral("Dots")};
    const QStringList dithering{QStringLiteral("No"), QStringLiteral("Yes")};
    return {
        {QStringLiteral("AutoContrast"), {}, autoContrast},
        {QStringLiteral("Bright"), {{QStringLiteral("Amount (%)"), 1, 100, 20}}, bright},
        {QStringLiteral("Color Palette"),
         {{QStringLiteral("Colours"), 2, 256, 16}, {QStringLiteral("Dithering"), 0, 1, 0, dithering}},
         colorPalette},
        {QStringLiteral("Color"),
         {{QStringLiteral("Red"), 0, 255, 255},
          {QStringLiteral("Green"), 0, 255, 128},
          {QStringLiteral("Blue"), 0, 255, 0},
          {QStringLiteral("Strength (%)"), 0, 100, 30}},
         color},
        {QStringLiteral("Dark"), {{QStringLiteral("Amount (%)"), 1, 100, 20}}, dark},
        {QStringLiteral("Despeckle"), {}, despeckle},
        {QStringLiteral("Enhance"), {}, enhance},
        {QStringLiteral("Gamma"), {{QStringLiteral("Gamma (x 100)"), 10, 500, 150}}, gamma},
        {QStringLiteral("HalfTone"), {{QStringLiteral("Screen"), 0, 3, 1, screens}}, halfTone},
        {QStringLiteral("Hue and Saturation"),
         {{QStringLiteral("Hue"), -100, 100, 0}, {QStringLiteral("Saturation (%)"), -100, 100, 20}},
         hueAndSaturation},
        {QStringLiteral("Sharp"), {{QStringLiteral("Strength"), 1, 20, 2}}, sharp},
        {QStringLiteral("Soft"), {{QStringLiteral("Strength"), 1, 20, 2}}, soft},
        {QStringLiteral("Threshold"), {{QStringLiteral("Level"), 0, 255, 128}}, threshold},
    };
}

} // namespace imaging::effects
