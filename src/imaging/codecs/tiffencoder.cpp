#include "imaging/codecs/bilevel.h"
#include "imaging/codecs/encoders.h"
#include "imaging/error.h"

#include <cmath>
#include <cstdarg>
#include <memory>
#include <QBuffer>
#include <tiffio.h>
#include <vector>

namespace imaging::codecs {

namespace {

// libtiff writes through these into a QBuffer, so the file appears on disk only complete.
tmsize_t readDevice(thandle_t device, void* data, tmsize_t size)
{
    return static_cast<QIODevice*>(device)->read(static_cast<char*>(data), size);
}

tmsize_t writeDevice(thandle_t device, void* data, tmsize_t size)
{
    return static_cast<QIODevice*>(device)->write(static_cast<const char*>(data), size);
}

toff_t seekDevice(thandle_t device, toff_t offset, int whence)
{
    auto* io = static_cast<QIODevice*>(device);
    const qint64 base = whence == SEEK_CUR ? io->pos() : whence == SEEK_END ? io->size() : 0;
    const qint64 position = base + static_cast<qint64>(offset);
    return io->seek(position) ? static_cast<toff_t>(position) : static_cast<toff_t>(-1);
}

int closeDevice(thandle_t)
{
    return 0;
}

toff_t deviceSize(thandle_t device)
{
    return static_cast<toff_t>(static_cast<QIODevice*>(device)->size());
}

int noMapping(thandle_t, void**, toff_t*)
{
    return 0;
}

void noUnmapping(thandle_t, void*, toff_t) {}

// libtiff's messages for this file only (the handlers are per file, not process-wide).
int keepMessage(TIFF*, void* message, const char*, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    *static_cast<QString*>(message) = QString::fromLocal8Bit(text);
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

uint16_t tiffCompression(TiffCompression compression)
{
    switch (compression) {
    case TiffCompression::sCCITT:
        return COMPRESSION_CCITTRLE; // 1-D Modified Huffman, without fax framing
    case TiffCompression::sFAXCCITT3:
        return COMPRESSION_CCITTFAX3;
    case TiffCompression::sFAXCCITT4:
        return COMPRESSION_CCITTFAX4;
    case TiffCompression::sLZW:
        return COMPRESSION_LZW;
    case TiffCompression::sPACKBITS:
        return COMPRESSION_PACKBITS;
    case TiffCompression::sNONE:
        break;
    }
    return COMPRESSION_NONE;
}

bool isBilevel(TiffCompression compression)
{
    return compression == TiffCompression::sCCITT || compression == TiffCompression::sFAXCCITT3 ||
           compression == TiffCompression::sFAXCCITT4;
}

// The pixel layout written and how one image row becomes one TIFF row.
struct Layout {
    QImage source;
    uint16_t samplesPerPixel;
    uint16_t bitsPerSample;
    uint16_t photometric;
    tmsize_t rowBytes;
};

Layout layoutFor(const QImage& image, TiffCompression compression)
{
    const auto width = static_cast<tmsize_t>(image.width());
    if (isBilevel(compression))
        return {opaqueImage(image).convertToFormat(QImage::Format_Grayscale8), 1, 1, PHOTOMETRIC_MINISWHITE,
                (width + 7) / 8};
    if (image.format() == QImage::Format_Grayscale8)
        return {image, 1, 8, PHOTOMETRIC_MINISBLACK, width};
    QImage rgb = rgbImage(image);
    const uint16_t samples = rgb.hasAlphaChannel() ? 4 : 3;
    return {std::move(rgb), samples, 8, PHOTOMETRIC_RGB, width * samples};
}

void packRow(const Layout& layout, int y, uchar* out)
{
    const uchar* line = layout.source.constScanLine(y);
    if (layout.bitsPerSample == 1) {
        packBilevelRow(line, layout.source.width(), out);
        return;
    }
    if (layout.samplesPerPixel == 1) {
        std::copy_n(line, layout.rowBytes, out);
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(line);
    for (int x = 0; x < layout.source.width(); ++x) {
        *out++ = static_cast<uchar>(qRed(pixels[x]));
        *out++ = static_cast<uchar>(qGreen(pixels[x]));
        *out++ = static_cast<uchar>(qBlue(pixels[x]));
        if (layout.samplesPerPixel == 4)
            *out++ = static_cast<uchar>(qAlpha(pixels[x]));
    }
}

void setFields(TIFF* tiff, const Layout& layout, TiffCompression compression, const QByteArray& profile)
{
    const QImage& source = layout.source;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(source.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(source.height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, layout.samplesPerPixel);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, layout.bitsPerSample);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, tiffCompression(compression));
    if (layout.samplesPerPixel == 4) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (compression == TiffCompression::sLZW)
        TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(source.dotsPerMeterX() * 0.0254));
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(source.dotsPerMeterY() * 0.0254));
    if (!profile.isEmpty())
        TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(profile.size()), profile.constData());
}

} // namespace

QByteArray encodeTiff(const QImage& image, TiffCompression compression, Progress& progress)
{
    QString message;
    const auto failed = [&message] {
        return Error(ErrorCode::WriteFailed, QStringLiteral("The TIFF picture cannot be written: %1").arg(message));
    };
    const Layout layout = layoutFor(image, compression);
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::ReadWrite);
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), &keepMessage, &message);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), &ignoreWarning, nullptr);
    TiffHandle tiff(TIFFClientOpenExt("picture.tif", "w", &device, &readDevice, &writeDevice, &seekDevice, &closeDevice,
                                      &deviceSize, &noMapping, &noUnmapping, options.get()));
    if (!tiff)
        throw failed();

    setFields(tiff.get(), layout, compression, ownProfile(image));
    std::vector<uchar> row(static_cast<size_t>(layout.rowBytes));
    const int height = layout.source.height();
    for (int y = 0; y < height; ++y) {
        progress.step(y, height);
        packRow(layout, y, row.data());
        if (TIFFWriteScanline(tiff.get(), row.data(), static_cast<uint32_t>(y), 0) < 0)
            throw failed();
    }
    if (!TIFFFlush(tiff.get()))
        throw failed();
    tiff.reset();
    return bytes;
}

} // namespace imaging::codecs
