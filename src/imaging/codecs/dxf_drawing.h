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

// Reads LINE, LWPOLYLINE, POLYLINE, CIRCLE, ARC and TEXT entities, those inside inserted blocks
// included; other entities are left out. Throws Error(DamagedPicture) when the file cannot be
// parsed or holds nothing to draw.
DxfDrawing readDxf(QByteArrayView bytes, Progress& progress);

} // namespace imaging::codecs
