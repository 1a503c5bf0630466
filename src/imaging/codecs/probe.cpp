// A picture's size from its header alone, for decisions that must not wait for a decode.
#include "imaging/decoder.h"

#include <QBuffer>
#include <QImageReader>

#include "imaging/error.h"

namespace imaging {

namespace {

QSize photoCdSize(PcdMode resolution)
{
    switch (resolution) {
    case PcdMode::pcd_BASE16:
        return {192, 128};
    case PcdMode::pcd_BASE4:
        return {384, 256};
    case PcdMode::pcd_BASE:
        break;
    }
    return {768, 512};
}

} // namespace

QSize probeSize(QByteArrayView bytes, PcdMode pcdResolution)
{
    PictureFormat format;
    try {
        format = sniffFormat(bytes);
    } catch (const Error&) {
        return {};
    }
    switch (format) {
    case PictureFormat::Jpeg:
    case PictureFormat::Png:
    case PictureFormat::Gif:
    case PictureFormat::Bmp: {
        QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        return size.isValid() ? size : QSize();
    }
    case PictureFormat::Pcd:
        return photoCdSize(pcdResolution);
    default:
        return {};
    }
}

} // namespace imaging
