#include "imaging/codecs/decoders.h"
#include "imaging/codecs/jpegsession.h"
#include "imaging/codecs/rowsink.h"

#include <cstdlib>
#include <QColorSpace>

namespace imaging::codecs {

namespace {

class Decompressor {
public:
    explicit Decompressor(JpegSession& session) { session.create(info); }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct info{};
};

// The largest reduction libjpeg can do inside the inverse DCT that still leaves at least the
// wanted size; the area downscaler does the rest. Only powers of two: libjpeg-turbo's SIMD code
// covers those, its other scales are plain C and slower than decoding larger.
int dctDenominator(QSize picture, QSize wanted)
{
    for (const int denominator : {8, 4, 2}) {
        const int width = (picture.width() + denominator - 1) / denominator;
        const int height = (picture.height() + denominator - 1) / denominator;
        if (width >= wanted.width() && height >= wanted.height())
            return denominator;
    }
    return 1;
}

// In place: a CMYK pixel takes exactly the room of an RGB32 one. Adobe's encoders store the
// four inks inverted, which the APP14 marker tells.
void cmykToRgb32(uchar* row, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, row += 4) {
        int cyan = row[0], magenta = row[1], yellow = row[2], black = row[3];
        if (!inverted) {
            cyan = 255 - cyan;
            magenta = 255 - magenta;
            yellow = 255 - yellow;
            black = 255 - black;
        }
        const QRgb rgb = qRgb(cyan * black / 255, magenta * black / 255, yellow * black / 255);
        *reinterpret_cast<QRgb*>(row) = rgb;
    }
}

// The ICC profile travels in APP2 markers (split over several when it is long).
constexpr int iccMarker = JPEG_APP0 + 2;

QColorSpace embeddedColourSpace(jpeg_decompress_struct& info)
{
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (!jpeg_read_icc_profile(&info, &profile, &length))
        return {};
    const QColorSpace space =
        QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char*>(profile), static_cast<qsizetype>(length)));
    free(profile);
    return space;
}

} // namespace

DecodedPicture decodeJpeg(QByteArrayView bytes, DecodeRequest& request)
{
    Progress progress(request.control, QStringLiteral("Reading JPEG picture"));
    JpegSession session(progress, ErrorCode::DamagedPicture, QStringLiteral("The JPEG picture cannot be read"));
    Decompressor jpeg(session);
    jpeg_decompress_struct& info = jpeg.info;

    session.guarded([&] {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_save_markers(&info, iccMarker, 0xFFFF);
        jpeg_read_header(&info, TRUE);
    });
    const QColorSpace colourSpace = session.guarded([&] { return embeddedColourSpace(info); });
    const QSize fullSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    checkPixelLimit(fullSize, request.pixelLimit);

    const QSize wanted = fittedSize(fullSize, request.fitInto);
    const int denominator = dctDenominator(fullSize, wanted);
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(denominator);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : rgb32ColourSpace;
    session.guarded([&] { jpeg_start_decompress(&info); });

    const QSize decoded(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    RowSink sink(decoded, wanted.boundedTo(decoded), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32,
                 std::move(request.buffer));
    const bool invertedInks = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = sink.nextRow();
        if (session.guarded([&] { return jpeg_read_scanlines(&info, &row, 1); }) != 1)
            throw Error(ErrorCode::DamagedPicture, QStringLiteral("The JPEG picture cannot be read"));
        if (cmyk)
            cmykToRgb32(row, decoded.width(), invertedInks);
        sink.commitRow();
    }
    // The rest of the file (normally just the end marker) is not needed.
    progress.report(100);
    QImage image = sink.takeImage();
    image.setColorSpace(colourSpace);
    return {std::move(image), PictureFormat::Jpeg, fullSize, denominator};
}

} // namespace imaging::codecs
