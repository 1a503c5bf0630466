// A DXF drawing reduced to what the album shows of it: lines and texts in world coordinates.
#pragma once

#include "imaging/codecs/progress.h"

#include <QByteArrayView>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

namespace imaging::codecs {

struct DxfText {
    QPointF origin; // left end of the baseline
    double height;
    double angleDegrees; // counter-clockwise
    QString text;
};

struct DxfDrawing {
    // Lines, polylines, circles and arcs, curves already broken into short straight pieces.
    std::vector<QPolygonF> paths;
    std::vector<DxfText> texts;

    // Everything drawn, texts approximated by their boxes.
    QRectF extent() const;
};

// What one drawing may ask for. A DXF file of a few hundred bytes can insert blocks into
// blocks until there are billions of lines; these keep reading within a second or so and
// under a hundred megabytes.
struct DxfLimits {
    static constexpr qsizetype fileBytes = 64 * 1024 * 1024;
    static constexpr int blockDepth = 32;       // blocks inserted into blocks
    static constexpr qint64 entities = 1000000; // counting every copy of an inserted block
    static constexpr qint64 points = 2000000;   // of all lines together
    static constexpr qint64 textCharacters = 200000;
};

// Reads text and binary DXF files (a leading UTF-8 byte order mark is skipped): LINE,
// LWPOLYLINE, POLYLINE, CIRCLE, ARC and TEXT entities, those inside inserted blocks included;
// other entities are left out. Throws Error(DamagedPicture) when the file cannot be parsed,
// holds nothing to draw or nests blocks deeper than the limit (a block inserting itself),
// Error(TooLarge) when it asks for more than the limits allow, Error(Cancelled).
DxfDrawing readDxf(QByteArrayView bytes, Progress& progress);

} // namespace imaging::codecs
