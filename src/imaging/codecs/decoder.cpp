#include "imaging/decoder.h"

#include "imaging/codecs/decoders.h"
#include "imaging/error.h"
#include "imaging/orientation.h"

#include <QColorSpace>

#include <algorithm>
#include <cmath>

namespace imaging {

namespace codecs {

void checkPixelLimit(qint64 width, qint64 height, qint64 limit)
{
    if (width <= 0 || height <= 0)
        throw Error(ErrorCode::DamagedPicture, QStringLiteral("The picture has no pixels"));
    if (width > limit / height) {
        throw Error(ErrorCode::TooLarge,
                    QStringLiteral("The picture is too large to show: %1 × %2 pixels (at most %3 million pixels)")
                        .arg(width)
                        .arg(height)
                        .arg(double(limit) / 1e6));
    }
}

} // namespace codecs

QSize fittedSize(QSize picture, QSize box)
{
    if (box.isEmpty() || (picture.width() <= box.width() && picture.height() <= box.height()))
        return picture;
    const double scale = std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    const auto side = [scale](int length, int limit) {
        return std::clamp(static_cast<int>(std::lround(length * scale)), 1, limit);
    };
    return {side(picture.width(), box.width()), side(picture.height(), box.height())};
}

namespace {

DecodedPicture decodeStored(QByteArrayView bytes, PictureFormat format, DecodeRequest& request)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return codecs::decodeJpeg(bytes, request);
    case PictureFormat::Png:
    case PictureFormat::Gif:
    case PictureFormat::Bmp:
        return codecs::decodeWithQt(bytes, format, request);
    case PictureFormat::Eps:
        return codecs::decodeEps(bytes, request);
    case PictureFormat::Dxf:
        return codecs::decodeDxf(bytes, request);
    case PictureFormat::Heic:
    case PictureFormat::Avif:
        return codecs::decodeHeif(bytes, format, request);
    case PictureFormat::WebP:
        return codecs::decodeWebP(bytes, request);
    case PictureFormat::Tiff:
    case PictureFormat::Pcx:
    case PictureFormat::Tga:
    case PictureFormat::Pcd:
    case PictureFormat::Wmf:
        break;
    }
    return codecs::decodeWithMagick(bytes, format, request);
}

DecodedPicture decodeFormat(QByteArrayView bytes, DecodeRequest& request)
{
    const PictureFormat format = sniffFormat(bytes);
    const Orientation orientation = storedOrientation(bytes, format);
    // The box is meant for the upright picture; the decoders fit the stored one.
    request.fitInto = uprightSize(request.fitInto, orientation);
    DecodedPicture picture = decodeStored(bytes, format, request);
    picture.format = format;
    picture.fullSize = uprightSize(picture.fullSize, orientation);
    const QColorSpace space = picture.image.colorSpace();
    picture.image = toUpright(picture.image, orientation);
    picture.image.setColorSpace(space); // turning may not carry it over
    picture.ownColours = hasOwnColours(picture.image);
    if (!picture.ownColours)
        picture.image.setColorSpace(QColorSpace());
    else if (!request.keepOwnColours)
        picture.image = inSrgb(std::move(picture.image));
    return picture;
}

} // namespace

bool hasOwnColours(const QImage& image)
{
    const QColorSpace space = image.colorSpace();
    return space.isValid() && space != QColorSpace(QColorSpace::SRgb) && image.format() != QImage::Format_Grayscale8;
}

QImage inSrgb(QImage image)
{
    if (hasOwnColours(image))
        image.convertToColorSpace(QColorSpace::SRgb);
    image.setColorSpace(QColorSpace());
    return image;
}

DecodedPicture decode(QByteArrayView bytes, DecodeRequest&& request)
{
    // The libraries below may fail in their own ways; callers get only the engine's error.
    try {
        return decodeFormat(bytes, request);
    } catch (const Error&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw Error(ErrorCode::TooLarge, QStringLiteral("There is not enough memory to show the picture"));
    } catch (const std::exception& failure) {
        throw Error(ErrorCode::DamagedPicture,
                    QStringLiteral("The picture cannot be read: %1").arg(QString::fromLocal8Bit(failure.what())));
    }
}

} // namespace imaging
