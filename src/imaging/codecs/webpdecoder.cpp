// WebP through libwebp, which decodes at a reduced size itself. Of an animation the first frame
// is shown.
#include "imaging/codecs/decoders.h"
#include "imaging/codecs/progress.h"
#include "imaging/codecs/rowsink.h"
#include "imaging/error.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>
#include <QColorSpace>

namespace imaging::codecs {

namespace {

Error damaged(const QString& reason = {})
{
    return Error(ErrorCode::DamagedPicture, reason.isEmpty()
                                                ? QStringLiteral("The WebP picture cannot be read")
                                                : QStringLiteral("The WebP picture cannot be read: %1").arg(reason));
}

struct DemuxDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};

class WebPFile {
public:
    explicit WebPFile(QByteArrayView bytes)
    {
        const WebPData data{reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<size_t>(bytes.size())};
        demuxer_.reset(WebPDemux(&data));
        if (!demuxer_ || !WebPDemuxGetFrame(demuxer_.get(), 1, &frame_))
            throw damaged();
        hasFrame_ = true;
    }
    ~WebPFile()
    {
        if (hasFrame_)
            WebPDemuxReleaseIterator(&frame_);
    }
    WebPFile(const WebPFile&) = delete;
    WebPFile& operator=(const WebPFile&) = delete;

    QSize size() const { return {frame_.width, frame_.height}; }
    QByteArrayView frame() const
    {
        return {reinterpret_cast<const char*>(frame_.fragment.bytes), static_cast<qsizetype>(frame_.fragment.size)};
    }
    bool hasAlpha() const { return frame_.has_alpha != 0; }

    // The colour space of the embedded ICC profile; invalid when there is none.
    QColorSpace colourSpace() const
    {
        WebPChunkIterator chunk;
        if (!WebPDemuxGetChunk(demuxer_.get(), "ICCP", 1, &chunk))
            return {};
        const QColorSpace space = QColorSpace::fromIccProfile(
            QByteArray(reinterpret_cast<const char*>(chunk.chunk.bytes), static_cast<qsizetype>(chunk.chunk.size)));
        WebPDemuxReleaseChunkIterator(&chunk);
        return space;
    }

private:
    std::unique_ptr<WebPDemuxer, DemuxDeleter> demuxer_;
    WebPIterator frame_{};
    bool hasFrame_ = false;
};

} // namespace

QSize webpSize(QByteArrayView bytes)
{
    int width = 0;
    int height = 0;
    if (!WebPGetInfo(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<size_t>(bytes.size()), &width,
                     &height))
        return {};
    return {width, height};
}

DecodedPicture decodeWebP(QByteArrayView bytes, DecodeRequest& request)
{
    Progress progress(request.control, QStringLiteral("Reading WebP picture"));
    progress.step(0, 1);
    const WebPFile file(bytes);
    const QSize fullSize = file.size();
    checkPixelLimit(fullSize, request.pixelLimit);
    const QSize wanted = fittedSize(fullSize, request.fitInto);

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        throw damaged(QStringLiteral("the WebP library does not match"));
    if (wanted != fullSize) {
        config.options.use_scaling = 1;
        config.options.scaled_width = wanted.width();
        config.options.scaled_height = wanted.height();
    }
    // Straight into the result's memory: premultiplied BGRA is Qt's ARGB32_Premultiplied (and
    // with every alpha 255, its RGB32) on a little-endian machine.
    const bool alpha = file.hasAlpha();
    QImage image = reuseOrAllocate(std::move(request.buffer), wanted,
                                   alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    config.output.colorspace = MODE_bgrA;
#else
    config.output.colorspace = MODE_Argb;
#endif
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = static_cast<int>(image.bytesPerLine());
    config.output.u.RGBA.size = static_cast<size_t>(image.sizeInBytes());
    const QByteArrayView frame = file.frame();
    const VP8StatusCode status =
        WebPDecode(reinterpret_cast<const uint8_t*>(frame.data()), static_cast<size_t>(frame.size()), &config);
    WebPFreeDecBuffer(&config.output);
    if (status == VP8_STATUS_OUT_OF_MEMORY)
        throw Error(ErrorCode::TooLarge, QStringLiteral("There is not enough memory to show the picture"));
    if (status != VP8_STATUS_OK)
        throw damaged();
    image.setColorSpace(file.colourSpace());
    progress.report(100);
    return {std::move(image), PictureFormat::WebP, fullSize, 1};
}

} // namespace imaging::codecs
