// Writes HEIC and AVIF files through libheif's encoder, with what phones put in them and the
// command-line tool cannot: a turn of the container, colour code points, an EXIF block.
#pragma once

#include <QByteArray>
#include <QImage>

namespace fixtures {

struct HeifWriting {
    bool avif = false;
    int quality = 90;
    // An EXIF orientation value (1 to 8), written as the container's turn of the stored picture.
    int containerTurn = 1;
    bool displayP3 = false; // code points saying Display P3 with sRGB's transfer
    QByteArray exif;        // a TIFF structure, stored as the picture's EXIF block
    bool fastest = false;   // the encoder's quickest setting, for big pictures
};

// The image (RGB) as stored pixels; empty bytes when libheif fails.
QByteArray heifBytes(const QImage& image, const HeifWriting& how = {});

} // namespace fixtures
