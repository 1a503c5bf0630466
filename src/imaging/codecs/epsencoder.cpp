#include "imaging/codecs/ascii85.h"
#include "imaging/codecs/encoders.h"

#include <vector>

namespace imaging::codecs {

namespace {

// One picture pixel per point. The image data follows the program inline as ASCII85; the
// procedure runs the image operator and then reads the data source up to its end mark, so the
// interpreter continues right after the data whatever the operator left unread.
QByteArray prolog(int width, int height)
{
    return QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0\n"
                          "%%Creator: Kadrix\n"
                          "%%BoundingBox: 0 0 %1 %2\n"
                          "%%LanguageLevel: 2\n"
                          "%%Pages: 1\n"
                          "%%EndComments\n"
                          "%%Page: 1 1\n"
                          "gsave\n"
                          "%1 %2 scale\n"
                          "{\n"
                          "  /pictureData currentfile /ASCII85Decode filter def\n"
                          "  %1 %2 8 [%1 0 0 -%2 0 %2] pictureData false 3 colorimage\n"
                          "  pictureData flushfile\n"
                          "} exec\n")
        .arg(width)
        .arg(height)
        .toLatin1();
}

} // namespace

QByteArray encodeEps(const QImage& image, Progress& progress)
{
    const QImage source = opaqueImage(image).convertToFormat(QImage::Format_RGB32);
    const int width = source.width();
    const int height = source.height();
    QByteArray out = prolog(width, height);
    out.reserve(out.size() + qsizetype(width) * height * 3 * 5 / 4 * 76 / 75 + 100);

    Ascii85Writer data(out);
    std::vector<uchar> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        progress.step(y, height);
        const auto* pixels = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* sample = row.data();
        for (int x = 0; x < width; ++x) {
            *sample++ = static_cast<uchar>(qRed(pixels[x]));
            *sample++ = static_cast<uchar>(qGreen(pixels[x]));
            *sample++ = static_cast<uchar>(qBlue(pixels[x]));
        }
        data.write(row.data(), static_cast<qsizetype>(row.size()));
    }
    data.finish();
    out.append("grestore\n"
               "showpage\n"
               "%%Trailer\n"
               "%%EOF\n");
    return out;
}

} // namespace imaging::codecs
