#include "imaging/codecs/encoders.h"
#include "imaging/decoder.h"

#include <QColorSpace>

#include <QPainter>

namespace imaging::codecs {

QImage opaqueImage(const QImage& image)
{
    if (image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_RGB32)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.setDotsPerMeterX(image.dotsPerMeterX());
    opaque.setDotsPerMeterY(image.dotsPerMeterY());
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return opaque;
}

QByteArray ownProfile(const QImage& image)
{
    return hasOwnColours(image) ? image.colorSpace().iccProfile() : QByteArray();
}

QImage rgbImage(const QImage& image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace imaging::codecs
