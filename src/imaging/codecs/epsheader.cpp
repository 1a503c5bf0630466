#include "imaging/codecs/epsheader.h"

#include "imaging/codecs/bytereader.h"

#include <algorithm>
#include <cmath>
#include <QByteArray>
#include <QList>

namespace imaging::codecs {

namespace {

constexpr QByteArrayView dosEpsSignature("\xC5\xD0\xD3\xC6");
constexpr QByteArrayView boundingBoxComment("%%BoundingBox:");

// "llx lly urx ury" up to the end of the line; some writers put fractions where integers belong.
QRectF parseBox(QByteArrayView text)
{
    const qsizetype lineEnd = text.indexOf('\n');
    const QByteArray line = text.first(lineEnd < 0 ? text.size() : lineEnd).toByteArray().replace('\r', ' ');
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() != 4)
        return {};
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = fields[i].toDouble(&ok);
        if (!ok || !std::isfinite(values[i]))
            return {};
    }
    const QRectF box(QPointF(values[0], values[1]), QPointF(values[2], values[3]));
    return box.width() > 0 && box.height() > 0 ? box : QRectF();
}

} // namespace

QByteArrayView postScriptSection(QByteArrayView eps)
{
    if (!eps.startsWith(dosEpsSignature))
        return eps;
    const qint64 offset = u32le(eps, 4);
    const qint64 length = u32le(eps, 8);
    if (offset < 30 || length == 0 || offset + length > eps.size())
        return {};
    return eps.sliced(offset, length);
}

QRectF boundingBox(QByteArrayView postScript)
{
    // The first box with numbers wins; "(atend)" in the header defers to the one in the trailer.
    for (qsizetype at = postScript.indexOf(boundingBoxComment); at >= 0;
         at = postScript.indexOf(boundingBoxComment, at + 1)) {
        const QRectF box = parseBox(postScript.sliced(at + boundingBoxComment.size()));
        if (!box.isEmpty())
            return box;
    }
    return {};
}

EpsPixelSize epsPixelSize(QByteArrayView eps)
{
    const QRectF box = boundingBox(postScriptSection(eps));
    if (box.isEmpty())
        return {};
    const auto pixels = [](double points) { return static_cast<qint64>(std::ceil(std::min(points, 1e15))); };
    return {pixels(box.width()), pixels(box.height())};
}

} // namespace imaging::codecs
