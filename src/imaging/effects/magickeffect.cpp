#include "imaging/effects/magickeffect.h"

#include "imaging/codecs/magicksupport.h"
#include "imaging/codecs/progress.h"

namespace imaging::effects {

QImage withMagick(const EffectInput& input, const MagickOperation& operation)
{
    codecs::Progress progress(input.control, QStringLiteral("Applying the effect"));
    progress.report(0);
    QImage result;
    try {
        Magick::Image image = codecs::toMagickImage(input.picture);
        // Images the operation makes from this one inherit the monitor.
        codecs::watchWriting(image, progress);
        operation(image);
        if (progress.cancelRequested())
            progress.throwCancelled();
        result = toQImage(image);
    } catch (const Magick::Exception& exception) {
        if (progress.cancelRequested())
            progress.throwCancelled();
        throw codecs::toError(exception, ErrorCode::DamagedPicture, QStringLiteral("The effect failed"));
    }
    progress.report(100);
    return result;
}

QImage toQImage(Magick::Image& image)
{
    const bool alpha = image.matte();
    QImage result(static_cast<int>(image.columns()), static_cast<int>(image.rows()),
                  alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.isNull())
        throw Error(ErrorCode::TooLarge, QStringLiteral("The effect's result is too large for this machine"));
        // Without transparency the alpha channel reads opaque, as RGB32 wants it.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const char* map = "BGRA";
#else
    const char* map = "ARGB";
#endif
    image.write(0, 0, image.columns(), image.rows(), map, Magick::CharPixel, result.bits());
    return result;
}

Magick::ColorRGB rgb(int red, int green, int blue)
{
    return Magick::ColorRGB(red / 255.0, green / 255.0, blue / 255.0);
}

} // namespace imaging::effects
