// The per-library decoders behind imaging::decode. Each one checks the picture's header size
// against the request's pixel limit before it takes pixel memory. They hand out the pixels as
// stored, with the image's colour space set when the picture carries a profile of its own;
// imaging::decode turns them upright and into sRGB.
#pragma once

#include "imaging/decoder.h"

namespace imaging::codecs {

DecodedPicture decodeJpeg(QByteArrayView bytes, DecodeRequest& request);
// PNG, GIF and BMP
DecodedPicture decodeWithQt(QByteArrayView bytes, PictureFormat format, DecodeRequest& request);
// TIFF, PCX, TGA, Photo CD and WMF
DecodedPicture decodeWithMagick(QByteArrayView bytes, PictureFormat format, DecodeRequest& request);
DecodedPicture decodeEps(QByteArrayView bytes, DecodeRequest& request);
DecodedPicture decodeDxf(QByteArrayView bytes, DecodeRequest& request);
// HEIC and AVIF
DecodedPicture decodeHeif(QByteArrayView bytes, PictureFormat format, DecodeRequest& request);
DecodedPicture decodeWebP(QByteArrayView bytes, DecodeRequest& request);

// Sizes from the headers (upright for HEIC and AVIF, as stored for WebP); invalid when the
// header is damaged.
QSize heifSize(QByteArrayView bytes);
QSize webpSize(QByteArrayView bytes);
// The EXIF block of a HEIC or AVIF file's primary picture from its "Exif\0\0" header or its
// TIFF header on; empty when there is none or the file is damaged.
QByteArray heifExif(QByteArrayView bytes);

// The size a Photo CD picture is read at, for each resolution the album offers.
QSize photoCdSize(PcdMode resolution);

// Throws Error(TooLarge) when a picture of this size is above the limit, Error(DamagedPicture)
// when it has no pixels.
void checkPixelLimit(qint64 width, qint64 height, qint64 limit);
inline void checkPixelLimit(QSize size, qint64 limit)
{
    checkPixelLimit(size.width(), size.height(), limit);
}

} // namespace imaging::codecs
