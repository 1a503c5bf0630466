#include "imaging/codecs/magicksupport.h"

namespace imaging::codecs {

namespace {

MagickCore::MagickBooleanType reportProgress(const char*, MagickCore::MagickOffsetType offset,
                                             MagickCore::MagickSizeType extent, void* data)
{
    auto* progress = static_cast<Progress*>(data);
    if (progress->cancelRequested())
        return MagickCore::MagickFalse;
    progress->report(offset + 1, static_cast<qint64>(extent));
    return MagickCore::MagickTrue;
}

// Pixel memory order of Qt's 32-bit formats, as ImageMagick's channel map names it.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* argb32Map = "BGRA";
constexpr const char* rgb32Map = "BGRP";
#else
constexpr const char* argb32Map = "ARGB";
constexpr const char* rgb32Map = "PRGB";
#endif

} // namespace

MagickReadWatch::MagickReadWatch(Magick::Image& image, Progress& progress, std::chrono::milliseconds timeLimit)
    : progress_(progress), timeLimit_(timeLimit), deadline_(timeLimit)
{
    // Magick++ has no progress interface of its own; its image options are the way in. The
    // image read takes the monitor over from them.
    MagickCore::SetImageInfoProgressMonitor(image.imageInfo(), &MagickReadWatch::onProgress, this);
}

MagickCore::MagickBooleanType MagickReadWatch::onProgress(const char* operation, MagickCore::MagickOffsetType offset,
                                                          MagickCore::MagickSizeType extent, void* data)
{
    auto* watch = static_cast<MagickReadWatch*>(data);
    if (watch->deadline_.hasExpired()) {
        watch->expired_ = true;
        return MagickCore::MagickFalse;
    }
    return reportProgress(operation, offset, extent, &watch->progress_);
}

void MagickReadWatch::throwIfStopped(const QString& pictureName) const
{
    if (progress_.cancelRequested())
        progress_.throwCancelled();
    if (expired_) {
        throw Error(ErrorCode::TooLarge,
                    QStringLiteral("The %1 picture is too complex to show: reading it takes longer than %2 seconds")
                        .arg(pictureName)
                        .arg(double(timeLimit_.count()) / 1000.0));
    }
}

void watchWriting(Magick::Image& image, Progress& progress)
{
    MagickCore::SetImageProgressMonitor(image.image(), &reportProgress, &progress);
}

Error toError(const Magick::Exception& exception, ErrorCode code, const QString& failureText)
{
    QString message = QString::fromLocal8Bit(exception.what());
    const qsizetype sourcePosition = message.indexOf(QLatin1String(" @ "));
    if (sourcePosition >= 0)
        message.truncate(sourcePosition);
    const bool tooLarge = dynamic_cast<const Magick::ErrorResourceLimit*>(&exception) != nullptr;
    return Error(tooLarge ? ErrorCode::TooLarge : code, failureText + QStringLiteral(": ") + message);
}

Magick::Image toMagickImage(const QImage& rgb)
{
    const bool alpha = rgb.format() == QImage::Format_ARGB32;
    Magick::Image image(static_cast<size_t>(rgb.width()), static_cast<size_t>(rgb.height()),
                        alpha ? argb32Map : rgb32Map, Magick::CharPixel, rgb.constBits());
    image.quiet(true);
    image.depth(8);
    return image;
}

} // namespace imaging::codecs
