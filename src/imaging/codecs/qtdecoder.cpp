#include "imaging/codecs/decoders.h"
#include "imaging/codecs/progress.h"
#include "imaging/codecs/rowsink.h"
#include "imaging/error.h"

#include <QBuffer>
#include <QImageReader>

namespace imaging::codecs {

namespace {

QByteArray readerFormat(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Bmp:
        return "bmp";
    default:
        return "png";
    }
}

} // namespace

DecodedPicture decodeWithQt(QByteArrayView bytes, PictureFormat format, DecodeRequest& request)
{
    const QString name = formatName(format);
    Progress progress(request.control, QStringLiteral("Reading %1 picture").arg(name));
    progress.step(0, 1);
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, readerFormat(format));
    const auto damaged = [&] {
        return Error(ErrorCode::DamagedPicture,
                     QStringLiteral("The %1 picture cannot be read: %2").arg(name, reader.errorString()));
    };

    const QSize fullSize = reader.size();
    if (!fullSize.isValid())
        throw damaged();
    checkPixelLimit(fullSize, request.pixelLimit);
    const QSize wanted = fittedSize(fullSize, request.fitInto);

    // These readers cannot decode at a reduced size (setScaledSize would only scale afterwards),
    // so the picture is read whole and then shrunk. Qt's reader reuses an image of its own
    // output size and format; only worth offering when no shrinking follows.
    QImage image = wanted == fullSize ? std::move(request.buffer) : QImage();
    if (!reader.read(&image))
        throw damaged();
    progress.step(1, 2);
    image = shrinkImage(toOutputFormat(std::move(image)), wanted, std::move(request.buffer));
    progress.report(100);
    return {std::move(image), format, fullSize, 1};
}

} // namespace imaging::codecs
