// What the EPS decoder needs to know before it starts Ghostscript.
#pragma once

#include <QByteArrayView>
#include <QRectF>

namespace imaging::codecs {

// The PostScript part of an EPS file: the section a DOS EPS binary header points to, or all
// of it. Empty when the header points outside the file.
QByteArrayView postScriptSection(QByteArrayView eps);

// The %%BoundingBox in points; empty when there is none usable (missing, "(atend)" without a
// trailer, or no area).
QRectF boundingBox(QByteArrayView postScript);

// The size an EPS file is drawn at, one pixel per point, from its bounding box; zero when it
// has none. Either side may be beyond what a QSize holds.
struct EpsPixelSize {
    qint64 width = 0;
    qint64 height = 0;
};
EpsPixelSize epsPixelSize(QByteArrayView eps);

} // namespace imaging::codecs
