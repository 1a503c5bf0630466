// Decoding whole picture files (as stored in album records) into images for display, print and
// export. Safe to call from several threads at once; each call uses only its own codec objects.
#pragma once

#include "imaging/initialise.h"
#include "imaging/pictureformat.h"
#include "imaging/savesettings.h"
#include "imaging/taskcontrol.h"

#include <chrono>
#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace imaging {

struct DecodeRequest {
    // Shrink the picture to fit this box, keeping its aspect ratio; never enlarges. Empty means
    // full size. JPEG and WebP pictures are reduced while decoding, which is what makes display
    // fast.
    QSize fitInto;
    PcdMode pcdResolution = PcdMode::pcd_BASE;
    TaskControl control;
    // Memory to decode into: when it is not shared and has the size and format of the result,
    // its pixels are overwritten instead of allocating a new image (much faster for big photos).
    QImage buffer;
    qint64 pixelLimit = maxPicturePixels;
    // Decodes whose work a small hostile file can make endless stop with an Error after this
    // long: those of ImageMagick (TIFF, PCX, TGA, Photo CD, WMF) and Ghostscript (EPS). The
    // others bound their work by counting it.
    std::chrono::milliseconds timeLimit = std::chrono::seconds(20);
    // Leave a picture with a colour profile of its own in its own colours, the image carrying
    // that colour space, instead of converting it to sRGB. Export asks for this, so that the
    // formats that can hold a profile keep the picture's whole gamut.
    bool keepOwnColours = false;
};

struct DecodedPicture {
    // Format_RGB32, Format_ARGB32_Premultiplied (pictures with transparency) or Format_Grayscale8;
    // upright (the EXIF orientation or the container's turn applied) and in sRGB (a picture's
    // own colour profile converted from), with no colour space of its own. Asked to keep its
    // own colours, a picture with a profile other than sRGB's carries that colour space instead.
    QImage image;
    PictureFormat format = PictureFormat::Jpeg;
    // The picture's own size, upright: for Photo CD at the requested resolution, for drawings
    // (WMF, EPS, DXF) the size they are rendered at when no box is given.
    QSize fullSize;
    // How much the JPEG decoder reduced the picture before the final fit (1, 2, 4 or 8).
    int scaleDenominator = 1;
    // The picture carries a colour profile other than sRGB's.
    bool ownColours = false;
};

// Throws Error for unknown or damaged content, pictures above the pixel limit or that ask for
// too much work, cancellation, and a missing or failing Ghostscript (EPS); never anything else.
DecodedPicture decode(QByteArrayView bytes, DecodeRequest&& request = {});

// Whether the image carries a colour space other than sRGB's. Grey images never do: they are
// shown as their grey values.
bool hasOwnColours(const QImage& image);
// The image in sRGB with no colour space of its own: converted when it carries one.
QImage inSrgb(QImage image);

// The picture's own upright size read from its headers alone, for the kinds whose headers say it
// cheaply (JPEG, PNG, GIF, BMP, TIFF, PCX, TGA, EPS, Photo CD, HEIC, AVIF, WebP); an invalid size
// otherwise, or for damaged bytes.
QSize probeSize(QByteArrayView bytes, PcdMode pcdResolution);

// The size a picture of the given size gets in a DecodeRequest::fitInto box.
QSize fittedSize(QSize picture, QSize box);

} // namespace imaging
