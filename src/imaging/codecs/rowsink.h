// Where decoders put their pixels: the caller's reusable buffer or new memory, written directly
// or through the area downscaler when the picture has to be fitted into a box.
#pragma once

#include "imaging/codecs/areadownscaler.h"

#include <optional>
#include <QImage>
#include <QSize>
#include <vector>

namespace imaging::codecs {

// The caller's buffer when it is unshared and of the right size and format, else a new image.
// Throws Error(TooLarge) when the memory cannot be had.
QImage reuseOrAllocate(QImage buffer, QSize size, QImage::Format format);

// Takes a decoder's rows in order (all of `source` size) and builds an `output`-sized image.
class RowSink {
public:
    // format must have 1 or 4 bytes per pixel; rows are written in that layout.
    RowSink(QSize source, QSize output, QImage::Format format, QImage buffer);
    RowSink(const RowSink&) = delete;
    RowSink& operator=(const RowSink&) = delete;

    // Memory for the next source row; valid until commitRow().
    uchar* nextRow();
    void commitRow();
    QImage takeImage() { return std::move(image_); }

private:
    QImage image_;
    uchar* pixels_;
    qsizetype bytesPerLine_;
    std::optional<AreaDownscaler> downscaler_;
    std::vector<uchar> scratchRow_;
    int row_ = 0;
};

// Converts a decoded image to one of the formats handed out: Format_RGB32,
// Format_ARGB32_Premultiplied (when it has transparency) or Format_Grayscale8.
QImage toOutputFormat(QImage image);

// A whole decoded image (in an output format) shrunk to `output` size; the image itself when it
// already has that size.
QImage shrinkImage(QImage image, QSize output, QImage buffer);

} // namespace imaging::codecs
