#include "imaging/codecs/magick_support.h"

namespace imaging::codecs {

namespace {

MagickCore::MagickBooleanType onProgress(const char*, MagickCore::MagickOffsetType offset,
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

void watchReading(Magick::Image& image, Progress& progress)
{
    // Magick++ has no progress interface of its own; its image options are the way in.
    MagickCore::SetImageInfoProgressMonitor(image.imageInfo(), &onProgress, &progress);
}

void watchWriting(Magick::Image& image, Progress& progress)
{
    MagickCore::SetImageProgressMonitor(image.image(), &onProgress, &progress);
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
