#include "imaging/codecs/encoders.h"
#include "imaging/codecs/magicksupport.h"

namespace imaging::codecs {

namespace {

struct MagickFormat {
    const char* coder;
    const char* name;
    bool keepsTransparency;
};

MagickFormat magickFormat(SaveFormat format)
{
    switch (format) {
    case SaveFormat::Gif:
        return {"GIF", "GIF", true};
    case SaveFormat::Tga:
        return {"TGA", "TGA", true};
    case SaveFormat::Pcx:
        return {"PCX", "PCX", false};
    default:
        return {"PNG", "PNG", true};
    }
}

} // namespace

QByteArray encodeWithMagick(const QImage& image, SaveFormat format, const SaveSettings& settings, Progress& progress)
{
    const MagickFormat target = magickFormat(format);
    try {
        Magick::Image picture = toMagickImage(rgbImage(target.keepsTransparency ? image : opaqueImage(image)));
        picture.magick(target.coder);
        if (format == SaveFormat::Tga) {
            // TGA rows run bottom-up unless the header says otherwise; ImageMagick writes that
            // flag only when asked, and readers that ignore the flag are rare.
            picture.orientation(Magick::TopLeftOrientation);
        }
        if (format == SaveFormat::Png) {
            picture.interlaceType(settings.pngInterlaced() ? Magick::PlaneInterlace : Magick::NoInterlace);
            // Given to an image without one, the profile is only attached, not converted to.
            if (const QByteArray profile = ownProfile(image); !profile.isEmpty())
                picture.iccColorProfile(Magick::Blob(profile.constData(), static_cast<size_t>(profile.size())));
        }
        watchWriting(picture, progress);
        Magick::Blob blob;
        picture.write(&blob);
        if (progress.cancelRequested())
            progress.throwCancelled();
        return QByteArray(static_cast<const char*>(blob.data()), static_cast<qsizetype>(blob.length()));
    } catch (const Magick::Exception& exception) {
        throw toError(exception, ErrorCode::WriteFailed,
                      QStringLiteral("The %1 picture cannot be written").arg(QLatin1String(target.name)));
    }
}

} // namespace imaging::codecs
