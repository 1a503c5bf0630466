// The "&Deformation" menu: effects that move, smear or regroup the picture's pixels.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "imaging/codecs/progress.h"
#include "imaging/effects/effectgroups.h"
#include "imaging/effects/magickeffect.h"
#include "imaging/effects/parallelrows.h"

namespace imaging::effects {

namespace {

// The colour at a point between pixels, from the four around it (weights in 1/256); points
// outside take the nearest edge pixel.
QRgb sampleBilinear(const QImage& picture, double x, double y)
{
    const int lastX = picture.width() - 1;
    const int lastY = picture.height() - 1;
    x = std::clamp(x, 0.0, double(lastX));
    y = std::clamp(y, 0.0, double(lastY));
    const int left = int(x);
    const int top = int(y);
    const int right = std::min(left + 1, lastX);
    const int bottom = std::min(top + 1, lastY);
    const auto fx = quint32((x - left) * 256);
    const auto fy = quint32((y - top) * 256);
    const auto* upper = reinterpret_cast<const QRgb*>(picture.constScanLine(top));
    const auto* lower = reinterpret_cast<const QRgb*>(picture.constScanLine(bottom));
    QRgb mixed = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const auto channel = [shift](QRgb pixel) { return (pixel >> shift) & 0xFFu; };
        const quint32 high = channel(upper[left]) * (256 - fx) + channel(upper[right]) * fx;
        const quint32 low = channel(lower[left]) * (256 - fx) + channel(lower[right]) * fx;
        mixed |= ((high * (256 - fy) + low * fy + 32768) >> 16) << shift;
    }
    return mixed;
}

QImage bleed(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        image.motionBlur(in.values[0], in.values[0] / 3.0 + 0.5, 270);
        image.modulate(100.0 - in.values[1], 100.0, 100.0);
    });
}

QImage blur(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.blur(0, in.values[0]); });
}

QImage engrave(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.shade(in.values[0], in.values[1], true); });
}

// Sampled down to one pixel per block, then up again without smoothing.
QImage mosaic(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        const size_t columns = image.columns();
        const size_t rows = image.rows();
        const auto block = static_cast<size_t>(in.values[0]);
        Magick::Geometry down(std::max<size_t>(1, columns / block), std::max<size_t>(1, rows / block));
        down.aspect(true);
        image.sample(down);
        Magick::Geometry up(columns, rows);
        up.aspect(true);
        image.sample(up);
    });
}

// Square blocks of the block's mean colour, each lit on its top and left edge and shaded on
// its bottom and right one.
QImage extrude(const EffectInput& in)
{
    const int block = in.values[0];
    QImage result = mosaic(in);
    const int edge = std::max(1, block / 5);
    codecs::Progress progress(in.control, QStringLiteral("Raising the blocks"));
    const int blockWidth = std::max(1, result.width() / std::max(1, result.width() / block));
    const int blockHeight = std::max(1, result.height() / std::max(1, result.height() / block));
    for (int y = 0; y < result.height(); ++y) {
        progress.step(y, result.height());
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        const int inBlockY = y % blockHeight;
        for (int x = 0; x < result.width(); ++x) {
            const int inBlockX = x % blockWidth;
            if (inBlockX < edge || inBlockY < edge)
                row[x] = QColor::fromRgb(row[x]).lighter(140).rgb();
            else if (inBlockX >= blockWidth - edge || inBlockY >= blockHeight - edge)
                row[x] = QColor::fromRgb(row[x]).darker(160).rgb();
        }
    }
    return result;
}

QImage jiggle(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.spread(static_cast<size_t>(in.values[0])); });
}

QImage motionBlur(const EffectInput& in)
{
    return withMagick(
        in, [&](Magick::Image& image) { image.motionBlur(in.values[0], in.values[0] / 3.0 + 0.5, in.values[1]); });
}

QImage noisify(const EffectInput& in)
{
    static constexpr Magick::NoiseType kinds[]{Magick::UniformNoise, Magick::GaussianNoise, Magick::ImpulseNoise,
                                               Magick::LaplacianNoise, Magick::PoissonNoise};
    return withMagick(in, [&](Magick::Image& image) { image.addNoise(kinds[in.values[0]]); });
}

QImage oilPaint(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.oilPaint(in.values[0]); });
}

QImage pinchHole(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) { image.implode(in.values[0] / 100.0); });
}

QImage polar(const EffectInput& in)
{
    return withMagick(in, [](Magick::Image& image) {
        const double none[1]{0.0};
        image.virtualPixelMethod(Magick::BlackVirtualPixelMethod);
        image.distort(Magick::PolarDistortion, 0, none, false);
    });
}

// The bottom right corner folded back over the picture: behind the fold the background,
// on the folded flap the paper's back, shaded darker towards the fold.
QImage pageCurl(const EffectInput& in)
{
    QImage result = in.picture.convertToFormat(QImage::Format_RGB32);
    const int width = result.width();
    const int height = result.height();
    const int corner = std::max(1, std::min(width, height) * in.values[0] / 100);
    codecs::Progress progress(in.control, QStringLiteral("Curling the page"));
    for (int y = std::max(0, height - corner); y < height; ++y) {
        progress.step(y, height);
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = std::max(0, width - corner); x < width; ++x) {
            const int distance = (width - 1 - x) + (height - 1 - y); // from the corner
            if (distance < corner) {
                row[x] = qRgb(0, 0, 0);
            } else {
                const int shade = 150 + 100 * std::min(corner, distance - corner) / corner;
                row[x] = qRgb(shade, shade, shade);
            }
        }
    }
    progress.report(100);
    return result;
}

QImage spray(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        image.spread(static_cast<size_t>(in.values[0]));
        image.addNoise(Magick::ImpulseNoise);
    });
}

// Pixels turned about the centre, the more the nearer they are to it (as ImageMagick's swirl
// does it, on every core): at the centre by the full angle, at the edge of the circle not at all.
QImage whirlPool(const EffectInput& in)
{
    const QImage source = in.picture.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), source.format());
    const int width = source.width();
    const int height = source.height();
    const double centreX = width / 2.0;
    const double centreY = height / 2.0;
    const double radius = std::max(centreX, centreY);
    const double scaleX = height > width ? double(height) / width : 1.0;
    const double scaleY = width > height ? double(width) / height : 1.0;
    const double angle = in.values[0] * M_PI / 180.0;
    // The turn depends on the distance alone: its sine and cosine by quarter pixels.
    constexpr double steps = 4.0;
    std::vector<std::pair<double, double>> turns(static_cast<std::size_t>(radius * steps) + 2);
    for (std::size_t i = 0; i < turns.size(); ++i) {
        const double factor = std::max(0.0, 1.0 - double(i) / steps / radius);
        turns[i] = {std::sin(angle * factor * factor), std::cos(angle * factor * factor)};
    }
    forEachRow(height, in.control, [&](int y) {
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* own = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const double dy = scaleY * (y - centreY);
        for (int x = 0; x < width; ++x) {
            const double dx = scaleX * (x - centreX);
            const double distance = dx * dx + dy * dy;
            if (distance >= radius * radius) {
                out[x] = own[x];
                continue;
            }
            const auto [sine, cosine] = turns[static_cast<std::size_t>(std::sqrt(distance) * steps + 0.5)];
            out[x] = sampleBilinear(source, (cosine * dx - sine * dy) / scaleX + centreX,
                                    (sine * dx + cosine * dy) / scaleY + centreY);
        }
    });
    return result;
}

QImage wave(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        image.backgroundColor(rgb(0, 0, 0));
        image.wave(in.values[0], in.values[1]);
    });
}

QImage warp(const EffectInput& in)
{
    return withMagick(in, [&](Magick::Image& image) {
        const double strength = in.values[0] / 200.0;
        const double coefficients[4]{0.0, strength, 0.0, 1.0 - strength};
        image.virtualPixelMethod(Magick::BlackVirtualPixelMethod);
        image.distort(Magick::BarrelDistortion, 4, coefficients, false);
    });
}

} // namespace

std::vector<Effect> deformationEffects()
{
    const QStringList noises{QStringLiteral("Uniform"), QStringLiteral("Gaussian"), QStringLiteral("Impulse"),
                             QStringLiteral("Laplacian"), QStringLiteral("Poisson")};
    return {
        {QStringLiteral("Bleed"),
         {{QStringLiteral("Length (pixels)"), 1, 200, 20}, {QStringLiteral("Darkening (%)"), 0, 100, 20}},
         bleed},
        {QStringLiteral("Blur"), {{QStringLiteral("Strength"), 1, 50, 3}}, blur},
        {QStringLiteral("Engrave"),
         {{QStringLiteral("Light from (degrees)"), 0, 360, 135}, {QStringLiteral("Light height (degrees)"), 0, 90, 30}},
         engrave},
        {QStringLiteral("Extrude"), {{QStringLiteral("Block size (pixels)"), 4, 400, 24}}, extrude},
        {QStringLiteral("Jiggle"), {{QStringLiteral("Distance (pixels)"), 1, 50, 5}}, jiggle},
        {QStringLiteral("Motion Blur"),
         {{QStringLiteral("Length (pixels)"), 1, 200, 20}, {QStringLiteral("Angle (degrees)"), 0, 360, 0}},
         motionBlur},
        {QStringLiteral("Mosaic"), {{QStringLiteral("Block size (pixels)"), 2, 400, 12}}, mosaic},
        {QStringLiteral("Noisify"), {{QStringLiteral("Noise"), 0, 4, 1, noises}}, noisify},
        {QStringLiteral("Oil Paint"), {{QStringLiteral("Radius"), 1, 10, 3}}, oilPaint},
        {QStringLiteral("Pinch Hole"), {{QStringLiteral("Amount (%)"), -100, 100, 50}}, pinchHole},
        {QStringLiteral("Polar"), {}, polar},
        {QStringLiteral("Page Curl"), {{QStringLiteral("Corner (%)"), 5, 90, 30}}, pageCurl},
        {QStringLiteral("Spray"), {{QStringLiteral("Distance (pixels)"), 1, 50, 8}}, spray},
        {QStringLiteral("WhirlPool"), {{QStringLiteral("Degrees"), -720, 720, 180}}, whirlPool},
        {QStringLiteral("Wave"),
         {{QStringLiteral("Height (pixels)"), 1, 200, 10}, {QStringLiteral("Length (pixels)"), 2, 1000, 80}},
         wave},
        {QStringLiteral("Warp"), {{QStringLiteral("Strength (%)"), -100, 100, 30}}, warp},
    };
}

} // namespace imaging::effects
