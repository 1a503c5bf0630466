#include "imaging/codecs/encoders.h"
#include "imaging/error.h"

#include <QBuffer>
#include <QImageWriter>

namespace imaging::codecs {

// Qt's own BMP writer: uncompressed 24-bit (8-bit for grey pictures), which every reader takes.
QByteArray encodeBmp(const QImage& image, Progress& progress)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, "bmp");
    if (!writer.write(opaqueImage(image)))
        throw Error(ErrorCode::WriteFailed,
                    QStringLiteral("The BMP picture cannot be written: %1").arg(writer.errorString()));
    progress.report(100);
    return bytes;
}

} // namespace imaging::codecs
