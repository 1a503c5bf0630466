#include "imaging/scanning/pictureassembler.h"

#include "imaging/error.h"

#include <algorithm>
#include <cstring>

namespace imaging::scanning {

namespace {

bool isColourChannel(SANE_Frame format)
{
    return format == SANE_FRAME_RED || format == SANE_FRAME_GREEN || format == SANE_FRAME_BLUE;
}

int samplesPerPixel(SANE_Frame format)
{
    return format == SANE_FRAME_RGB ? 3 : 1;
}

// 8-bit samples from a line of 1, 8 or 16-bit ones. 16-bit samples come in the host's byte
// order. A one-bit sample is full or no intensity, except in grey where 1 means black.
void unpackSamples(const SANE_Byte* line, int depth, bool oneIsBlack, uchar* out, qsizetype count)
{
    switch (depth) {
    case 1: {
        const uchar set = oneIsBlack ? 0 : 255;
        for (qsizetype i = 0; i < count; ++i)
            out[i] = (line[i / 8] >> (7 - i % 8)) & 1 ? set : static_cast<uchar>(255 - set);
        break;
    }
    case 8:
        std::memcpy(out, line, static_cast<size_t>(count));
        break;
    default:
        for (qsizetype i = 0; i < count; ++i) {
            quint16 sample = 0;
            std::memcpy(&sample, line + 2 * i, sizeof sample);
            out[i] = static_cast<uchar>(sample >> 8);
        }
    }
}

void storeChannel(QRgb* pixels, const uchar* samples, int width, SANE_Frame channel)
{
    const int shift = channel == SANE_FRAME_RED ? 16 : channel == SANE_FRAME_GREEN ? 8 : 0;
    const QRgb keep = ~(QRgb{0xff} << shift);
    for (int x = 0; x < width; ++x)
        pixels[x] = (pixels[x] & keep) | (QRgb{samples[x]} << shift);
}

} // namespace

PictureAssembler::PictureAssembler(QString deviceName, qint64 pixelLimit)
    : deviceName_(std::move(deviceName)), pixelLimit_(pixelLimit)
{}

void PictureAssembler::beginFrame(const SANE_Parameters& parameters)
{
    const SANE_Frame format = parameters.format;
    if (format != SANE_FRAME_GRAY && format != SANE_FRAME_RGB && !isColourChannel(format))
        refuse(QStringLiteral("a kind of picture this program does not read (%1)").arg(format));
    if (parameters.depth != 1 && parameters.depth != 8 && parameters.depth != 16)
        refuse(QStringLiteral("%1 bits per sample, which this program does not read").arg(parameters.depth));
    const qint64 width = parameters.pixels_per_line;
    const qint64 lineBytes = (width * samplesPerPixel(format) * parameters.depth + 7) / 8;
    // Padding longer than the line itself would be a fault, not alignment.
    if (width <= 0 || parameters.bytes_per_line < lineBytes ||
        parameters.bytes_per_line > lineBytes + std::max<qint64>(lineBytes, 65536))
        refuse(QStringLiteral("lines of %1 bytes for %2 pixels").arg(parameters.bytes_per_line).arg(width));
    if (width > pixelLimit_ || (parameters.lines > 0 && width * parameters.lines > pixelLimit_))
        tooLarge(width, std::max(parameters.lines, 1));

    ++frameIndex_;
    if (frameIndex_ > 0 && (!isColourChannel(format) || width != image_.width()))
        refuse(QStringLiteral("colour frames that do not fit together"));
    frame_ = parameters;
    if (frameIndex_ == 0) {
        frameCount_ = isColourChannel(format) ? 3 : 1;
        image_ = allocate(expectedHeight());
    }
    line_.assign(static_cast<size_t>(parameters.bytes_per_line), 0);
    lineFill_ = 0;
    samples_.assign(static_cast<size_t>(width * samplesPerPixel(format)), 0);
    row_ = 0;
}

void PictureAssembler::append(const SANE_Byte* data, qsizetype size)
{
    while (size > 0) {
        const qsizetype take = std::min(size, static_cast<qsizetype>(line_.size()) - lineFill_);
        std::memcpy(line_.data() + lineFill_, data, static_cast<size_t>(take));
        lineFill_ += take;
        data += take;
        size -= take;
        if (lineFill_ == static_cast<qsizetype>(line_.size())) {
            storeLine();
            lineFill_ = 0;
        }
    }
}

bool PictureAssembler::lastFrame() const
{
    // A device that never says "last" must not keep us starting frames.
    return frame_.last_frame != SANE_FALSE || frameIndex_ + 1 >= frameCount_;
}

int PictureAssembler::percentDone() const
{
    const qint64 framePercent = std::min<qint64>(100, qint64{row_} * 100 / expectedHeight());
    return std::min(99, static_cast<int>((frameIndex_ * 100 + framePercent) / frameCount_));
}

QImage PictureAssembler::takePicture()
{
    if (height_ == 0)
        throw Error(ErrorCode::ScannerFailed, QStringLiteral("The scanner %1 sent no picture").arg(deviceName_));
    if (height_ < image_.height())
        return image_.copy(0, 0, image_.width(), height_);
    return std::move(image_);
}

int PictureAssembler::expectedHeight() const
{
    if (frame_.lines > 0)
        return frame_.lines;
    // A hand scanner does not know; guess a portrait page of the scanned width (1 : 1.41).
    const qint64 width = frame_.pixels_per_line;
    return static_cast<int>(std::clamp<qint64>(width + width * 41 / 100, 1, pixelLimit_ / width));
}

void PictureAssembler::storeLine()
{
    makeRoomFor(row_);
    const int width = image_.width();
    uchar* out = image_.scanLine(row_);
    if (frame_.format == SANE_FRAME_GRAY) {
        unpackSamples(line_.data(), frame_.depth, true, out, width);
    } else {
        unpackSamples(line_.data(), frame_.depth, false, samples_.data(), static_cast<qsizetype>(samples_.size()));
        auto* pixels = reinterpret_cast<QRgb*>(out);
        if (frame_.format == SANE_FRAME_RGB) {
            for (int x = 0; x < width; ++x)
                pixels[x] = qRgb(samples_[3 * x], samples_[3 * x + 1], samples_[3 * x + 2]);
        } else {
            storeChannel(pixels, samples_.data(), width, frame_.format);
        }
    }
    ++row_;
    height_ = std::max(height_, row_);
}

// Rows come one at a time when the height is unknown (or a device sends more than it said):
// doubling keeps the copying linear.
void PictureAssembler::makeRoomFor(int row)
{
    if (row < image_.height())
        return;
    const qint64 maxRows = pixelLimit_ / image_.width();
    if (row >= maxRows)
        tooLarge(image_.width(), qint64{row} + 1);
    QImage grown = allocate(static_cast<int>(std::min(maxRows, qint64{image_.height()} * 2)));
    std::memcpy(grown.bits(), image_.constBits(), static_cast<size_t>(image_.sizeInBytes()));
    image_ = std::move(grown);
}

QImage PictureAssembler::allocate(int rows) const
{
    const QImage::Format format = frame_.format == SANE_FRAME_GRAY ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    QImage image(frame_.pixels_per_line, rows, format);
    if (image.isNull())
        tooLarge(frame_.pixels_per_line, rows);
    // Three-pass colour fills one channel per frame; the others must not be left to chance.
    image.fill(Qt::black);
    return image;
}

void PictureAssembler::refuse(const QString& reason) const
{
    throw Error(ErrorCode::ScannerFailed, QStringLiteral("The scanner %1 sends %2").arg(deviceName_, reason));
}

void PictureAssembler::tooLarge(qint64 width, qint64 rows) const
{
    throw Error(
        ErrorCode::TooLarge,
        QStringLiteral("The scan from %1 (%2 × %3 pixels or more) is too large").arg(deviceName_).arg(width).arg(rows));
}

} // namespace imaging::scanning
