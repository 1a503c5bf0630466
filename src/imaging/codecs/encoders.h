// The per-format writers behind imaging::encode. Each returns the whole file's bytes. Those of
// JPEG, PNG and TIFF write the image's own colour profile; the others are given sRGB images.
#pragma once

#include "imaging/codecs/progress.h"
#include "imaging/encoder.h"

namespace imaging::codecs {

QByteArray encodeJpeg(const QImage& image, const SaveSettings& settings, Progress& progress);
QByteArray encodeTiff(const QImage& image, TiffCompression compression, Progress& progress);
QByteArray encodeEps(const QImage& image, Progress& progress);
QByteArray encodeBmp(const QImage& image, Progress& progress);
// GIF, TGA, PCX and PNG
QByteArray encodeWithMagick(const QImage& image, SaveFormat format, const SaveSettings& settings, Progress& progress);

// The image with any transparency laid on white: Format_Grayscale8 when it is a grey image,
// Format_RGB32 otherwise.
QImage opaqueImage(const QImage& image);

// The ICC profile to write with the image: its own colour space's, empty when it has none other
// than sRGB.
QByteArray ownProfile(const QImage& image);

// Format_RGB32, or Format_ARGB32 (not premultiplied) when the image has transparency.
QImage rgbImage(const QImage& image);

} // namespace imaging::codecs
