#include "imaging/codecs/decoders.h"
#include "imaging/codecs/magicksupport.h"
#include "imaging/codecs/rowsink.h"

#include <QColorSpace>

namespace imaging::codecs {

namespace {

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* pixelMap = "BGRA";
#else
constexpr const char* pixelMap = "ARGB";
#endif

const char* coderName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Pcx:
        return "PCX";
    case PictureFormat::Tga:
        return "TGA";
    case PictureFormat::Pcd:
        return "PCD";
    case PictureFormat::Wmf:
        return "WMF";
    default:
        return "TIFF";
    }
}

// The coder is always named, never left to ImageMagick to guess: TGA has no signature to guess
// from, and naming it keeps ImageMagick's other coders away from the bytes.
void prepare(Magick::Image& image, PictureFormat format, PcdMode pcdResolution)
{
    image.quiet(true);
    image.magick(coderName(format));
    if (format == PictureFormat::Pcd) {
        // The size picks the resolution out of the image pack. A scene range would override it
        // (the reader takes the scene number for the resolution), and a Photo CD file holds
        // just one picture anyway.
        const QSize size = photoCdSize(pcdResolution);
        image.size(Magick::Geometry(static_cast<size_t>(size.width()), static_cast<size_t>(size.height())));
    } else {
        image.subRange(1); // only the first page of a multi-page TIFF or DCX is read
    }
}

QSize sizeOf(const Magick::Image& image)
{
    return {static_cast<int>(image.columns()), static_cast<int>(image.rows())};
}

// Rows handed over between checks for a cancel request.
constexpr int cancelCheckRows = 64;

// Opaque pictures stream row by row into the result (or the downscaler); pictures with
// transparency are premultiplied first, which needs the whole picture.
QImage exportPixels(Magick::Image& image, QSize wanted, QImage buffer, const Progress& progress)
{
    const QSize size = sizeOf(image);
    const auto width = static_cast<size_t>(size.width());
    if (!image.matte()) {
        RowSink sink(size, wanted, QImage::Format_RGB32, std::move(buffer));
        for (int y = 0; y < size.height(); ++y) {
            if (y % cancelCheckRows == 0 && progress.cancelRequested())
                progress.throwCancelled();
            image.write(0, y, width, 1, pixelMap, Magick::CharPixel, sink.nextRow());
            sink.commitRow();
        }
        return sink.takeImage();
    }
    // Allocated in the output format so that a buffer can be reused; the pixels arrive straight
    // and are premultiplied in place.
    QImage full =
        reuseOrAllocate(wanted == size ? std::move(buffer) : QImage(), size, QImage::Format_ARGB32_Premultiplied);
    full.reinterpretAsFormat(QImage::Format_ARGB32);
    image.write(0, 0, width, static_cast<size_t>(size.height()), pixelMap, Magick::CharPixel, full.bits());
    full.convertTo(QImage::Format_ARGB32_Premultiplied);
    return shrinkImage(std::move(full), wanted, std::move(buffer));
}

// An RGB picture's ICC profile (TIFF carries one in a tag of its own).
QColorSpace embeddedColourSpace(const Magick::Image& image)
{
    const Magick::Blob profile = image.iccColorProfile();
    if (profile.length() == 0)
        return {};
    return QColorSpace::fromIccProfile(
        QByteArray(static_cast<const char*>(profile.data()), static_cast<qsizetype>(profile.length())));
}

} // namespace

DecodedPicture decodeWithMagick(QByteArrayView bytes, PictureFormat format, DecodeRequest& request)
{
    const QString name = formatName(format);
    Progress progress(request.control, QStringLiteral("Reading %1 picture").arg(name));
    progress.step(0, 1);
    try {
        const Magick::Blob blob(bytes.data(), static_cast<size_t>(bytes.size()));
        Magick::Image image;
        prepare(image, format, request.pcdResolution);
        image.ping(blob);
        checkPixelLimit(sizeOf(image), request.pixelLimit);

        const MagickReadWatch watch(image, progress, request.timeLimit);
        try {
            image.read(blob);
        } catch (const Magick::Exception&) {
            watch.throwIfStopped(name); // stopped by us rather than failing on its own
            throw;
        }
        watch.throwIfStopped(name);
        const QSize fullSize = sizeOf(image);
        checkPixelLimit(fullSize, request.pixelLimit); // the header may have promised less
        // Pixels are handed over as stored, so CMYK (TIFF), Photo CD's YCC and linear RGB are
        // turned into sRGB first; grey is stored as equal red, green and blue.
        const Magick::ColorspaceType space = image.colorSpace();
        if (space != Magick::sRGBColorspace && space != Magick::GRAYColorspace)
            image.colorSpace(Magick::sRGBColorspace);
        watch.throwIfStopped(name);
        QImage pixels = exportPixels(image, fittedSize(fullSize, request.fitInto), std::move(request.buffer), progress);
        if (space == Magick::sRGBColorspace)
            pixels.setColorSpace(embeddedColourSpace(image));
        progress.report(100);
        return {std::move(pixels), format, fullSize, 1};
    } catch (const Magick::Exception& exception) {
        throw toError(exception, ErrorCode::DamagedPicture, QStringLiteral("The %1 picture cannot be read").arg(name));
    }
}

} // namespace imaging::codecs
