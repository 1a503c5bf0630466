// Glue between ImageMagick (Magick++) and the codecs: progress, errors and pixel hand-over.
// Every Magick::Image lives in one call on one thread; ImageMagick allows no more sharing.
#pragma once

#include "imaging/codecs/progress.h"
#include "imaging/error.h"

#include <Magick++.h>
#include <QImage>

namespace imaging::codecs {

// Routes ImageMagick's progress of reading into `image` (or writing it) to `progress`; a cancel
// request makes ImageMagick stop at its next report.
void watchReading(Magick::Image& image, Progress& progress);
void watchWriting(Magick::Image& image, Progress& progress);

// ImageMagick's resource limit errors are pictures too large for this machine's policy; all
// others get `code`. ImageMagick's source position is cut off the message.
Error toError(const Magick::Exception& exception, ErrorCode code, const QString& failureText);

// An image made from RGB32 pixels, or ARGB32 ones when it has transparency (see rgbImage()).
Magick::Image toMagickImage(const QImage& rgb);

} // namespace imaging::codecs
