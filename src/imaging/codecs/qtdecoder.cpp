#include "imaging/codecs/bytereader.h"
#include "imaging/codecs/decoders.h"
#include "imaging/codecs/progress.h"
#include "imaging/codecs/rowsink.h"
#include "imaging/error.h"

#include <QBuffer>
#include <QColorSpace>
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

// Only an embedded ICC profile (a PNG "iCCP" chunk) counts as the picture's own colours. Qt also
// makes colour spaces of PNG's gamma and chromaticity chunks, which writers such as ImageMagick
// add to plain sRGB pictures; taking those would shift every such picture's colours a little.
bool hasIccProfile(QByteArrayView png)
{
    qsizetype position = 8; // after the signature
    while (position + 8 <= png.size()) {
        const qsizetype length = qsizetype{u32be(png, position)};
        const QByteArrayView type = png.sliced(position + 4, 4);
        if (type == "iCCP")
            return true;
        if (type == "IDAT" || length > png.size() - position - 12)
            return false;
        position += 12 + length;
    }
    return false;
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
    const QColorSpace space = format == PictureFormat::Png && hasIccProfile(bytes) ? image.colorSpace() : QColorSpace();
    image = shrinkImage(toOutputFormat(std::move(image)), wanted, std::move(request.buffer));
    image.setColorSpace(space);
    progress.report(100);
    return {std::move(image), format, fullSize, 1};
}

} // namespace imaging::codecs
