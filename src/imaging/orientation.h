// Which way up a stored picture is meant to be seen. Cameras and phones store most portrait
// photos sideways and say so in the EXIF orientation tag; everything that shows, prints or
// re-encodes a picture works on the upright one. The stored bytes are never changed.
#pragma once

#include "imaging/pictureformat.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace imaging {

// The EXIF orientation values: where the stored first row and first column are meant to be.
enum class Orientation {
    TopLeft = 1,     // upright as stored
    TopRight = 2,    // mirrored left to right
    BottomRight = 3, // turned half round
    BottomLeft = 4,  // mirrored top to bottom
    LeftTop = 5,     // mirrored along the top-left to bottom-right diagonal
    RightTop = 6,    // to be turned a quarter clockwise
    RightBottom = 7, // mirrored along the other diagonal
    LeftBottom = 8,  // to be turned a quarter anticlockwise
};

// The orientation tag of the first directory of a TIFF structure (an EXIF block after its
// "Exif\0\0" header, or a TIFF file). TopLeft when there is none, when it is damaged, or when
// its value is not one of the eight.
Orientation exifOrientation(QByteArrayView tiffStructure);

// The turn the album applies after decoding a picture file of this kind: the EXIF tag of JPEG,
// TIFF and WebP. HEIC and AVIF mostly carry their turn in the container, which their decoder
// applies itself; their EXIF tag is applied only when the container has no turn of its own, so
// that a picture is never turned twice. TopLeft for the other kinds. Reads only the headers,
// bounded by the bytes given.
Orientation storedOrientation(QByteArrayView bytes, PictureFormat format);

// Whether the upright picture has width and height swapped against the stored one.
bool swapsSides(Orientation orientation);
QSize uprightSize(QSize stored, Orientation orientation);

// The stored pixels turned and mirrored to stand upright.
QImage toUpright(const QImage& stored, Orientation orientation);

} // namespace imaging
