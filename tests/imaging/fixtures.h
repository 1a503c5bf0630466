// Pictures and outside programs for the codec tests.
#pragma once

#include "imaging/error.h"

#include <optional>
#include <ostream>
#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace imaging {
inline void PrintTo(ErrorCode code, std::ostream* out)
{
    *out << "ErrorCode(" << static_cast<int>(code) << ")";
}
} // namespace imaging

namespace fixtures {

struct ToolRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs an outside program (ImageMagick, GraphicsMagick, libtiff's tools, Ghostscript) with
// `input` on its standard input.
ToolRun run(const QString& program, const QStringList& arguments, const QByteArray& input = {});

// Converts picture bytes with ImageMagick's convert: `convert <options> - <output>`, where
// output is e.g. "TGA:-"; returns the new file's bytes (empty when convert failed).
QByteArray convert(const QByteArray& input, const QStringList& options, const QString& output);

// A picture file read back by ImageMagick or GraphicsMagick, as RGB.
QImage readWithImageMagick(const QString& path);
QImage readWithGraphicsMagick(const QString& path);

// ImageMagick's identify -format for one file, e.g. "%m %w %h".
QString identify(const QString& path, const QString& format);

// Four solid quadrants (red, green / blue, white): survives lossy coding and scaling.
QImage quadrants(QSize size);
// Every pixel different: for lossless round trips.
QImage gradient(QSize size);

QByteArray pngBytes(const QImage& image);
// A placeable (or standard) Windows metafile of 200 x 100 units: a red rectangle on the left
// half, a blue ellipse on the right, a green triangle in the lower middle of the rectangle.
QByteArray threeShapesMetafile(bool placeable);
// A placeable metafile of `size` units (one unit a pixel) filled `count` times with a red
// rectangle over all of it.
QByteArray filledManyTimesMetafile(QSize size, int count);
// The same drawing in binary DXF: the sentinel, then each group as its code (one byte, or two
// with `wideGroupCodes` as newer writers do) and its value as a zero-ended string, a 64-bit
// real or a 16- or 32-bit integer, little-endian.
QByteArray binaryDxf(const QByteArray& textDxf, bool wideGroupCodes);
QByteArray fileBytes(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Largest difference of any colour channel of any pixel (images of equal size).
int maxDifference(const QImage& a, const QImage& b);
double meanDifference(const QImage& a, const QImage& b);
// Distance of a pixel from a colour, largest channel difference.
int distance(const QImage& image, QPoint at, QColor colour);
// Expects the colours of quadrants() in the four quarters of `image`, each within `tolerance`.
void expectQuadrants(const QImage& image, int tolerance);

// The code of the Error that `action` throws, nothing when it returns.
template <typename Action> std::optional<imaging::ErrorCode> errorOf(Action&& action)
{
    try {
        action();
    } catch (const imaging::Error& error) {
        return error.code();
    }
    return std::nullopt;
}

} // namespace fixtures
