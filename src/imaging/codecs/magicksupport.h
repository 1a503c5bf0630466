// Glue between ImageMagick (Magick++) and the codecs: progress, errors and pixel hand-over.
// Every Magick::Image lives in one call on one thread; ImageMagick allows no more sharing.
#pragma once

#include "imaging/codecs/progress.h"
#include "imaging/error.h"

#include <atomic>
#include <chrono>
#include <Magick++.h>
#include <QDeadlineTimer>
#include <QImage>

namespace imaging::codecs {

// Routes ImageMagick's progress of reading into an image to `progress`, and makes ImageMagick
// stop at its next report (its coders report every row, its WMF renderer every record) once
// a cancel request came or the time limit passed: a small WMF file can ask for minutes of
// drawing. Must live while ImageMagick works on the image.
class MagickReadWatch {
public:
    MagickReadWatch(Magick::Image& image, Progress& progress, std::chrono::milliseconds timeLimit);
    MagickReadWatch(const MagickReadWatch&) = delete;
    MagickReadWatch& operator=(const MagickReadWatch&) = delete;

    // Throws Error(Cancelled) or Error(TooLarge) when the watch has stopped ImageMagick,
    // which then either returns a partial picture or throws an error of its own.
    void throwIfStopped(const QString& pictureName) const;

private:
    static MagickCore::MagickBooleanType onProgress(const char*, MagickCore::MagickOffsetType offset,
                                                    MagickCore::MagickSizeType extent, void* data);

    Progress& progress_;
    std::chrono::milliseconds timeLimit_;
    QDeadlineTimer deadline_;
    std::atomic_bool expired_{false};
};

// Routes ImageMagick's progress of writing `image` to `progress`; a cancel request makes
// ImageMagick stop at its next report.
void watchWriting(Magick::Image& image, Progress& progress);

// ImageMagick's resource limit errors are pictures too large for this machine's policy; all
// others get `code`. ImageMagick's source position is cut off the message.
Error toError(const Magick::Exception& exception, ErrorCode code, const QString& failureText);

// An image made from RGB32 pixels, or ARGB32 ones when it has transparency (see rgbImage()).
Magick::Image toMagickImage(const QImage& rgb);

} // namespace imaging::codecs
