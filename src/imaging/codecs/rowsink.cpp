#include "imaging/codecs/rowsink.h"

#include <sys/mman.h>

#include "imaging/error.h"

#include <cstdint>
#include <cstring>

namespace imaging::codecs {

namespace {

constexpr std::size_t hugePage = 2 * 1024 * 1024;

struct Mapping {
    void* address;
    std::size_t length;
};

void unmap(void* info)
{
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

// Big pictures get memory that the kernel may back with huge pages: touching 100 MB of fresh
// memory page by page costs more than decoding a photo into it.
QImage allocate(QSize size, QImage::Format format)
{
    const qsizetype bytesPerLine = static_cast<qsizetype>(QImage(1, 1, format).depth() / 8) * size.width();
    const std::size_t bytes = static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(size.height());
    if (bytes < 4 * hugePage)
        return QImage(size, format);
    const std::size_t length = (bytes + hugePage - 1) / hugePage * hugePage;
    // Huge pages back only whole, aligned 2 MB stretches: take one more and trim to the boundary.
    void* reserved = mmap(nullptr, length + hugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (reserved == MAP_FAILED)
        return {};
    const auto start = reinterpret_cast<std::uintptr_t>(reserved);
    const std::uintptr_t aligned = (start + hugePage - 1) / hugePage * hugePage;
    if (aligned > start)
        munmap(reserved, aligned - start);
    if (const std::size_t tail = start + length + hugePage - (aligned + length); tail > 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* address = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(address, length, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar*>(address), size.width(), size.height(), bytesPerLine, format, unmap,
                  new Mapping{address, length});
}

} // namespace

QImage reuseOrAllocate(QImage buffer, QSize size, QImage::Format format)
{
    if (buffer.size() == size && buffer.format() == format && buffer.isDetached())
        return buffer;
    buffer = QImage(); // give the old memory back before taking new
    QImage image = allocate(size, format);
    if (image.isNull()) {
        throw Error(ErrorCode::TooLarge, QStringLiteral("There is not enough memory for a picture of %1 × %2 pixels")
                                             .arg(size.width())
                                             .arg(size.height()));
    }
    return image;
}

RowSink::RowSink(QSize source, QSize output, QImage::Format format, QImage buffer)
    : image_(reuseOrAllocate(std::move(buffer), output, format)), pixels_(image_.bits()),
      bytesPerLine_(image_.bytesPerLine())
{
    if (source != output) {
        downscaler_.emplace(source, image_);
        scratchRow_.resize(static_cast<size_t>(source.width()) * static_cast<size_t>(image_.depth() / 8));
    }
}

uchar* RowSink::nextRow()
{
    return downscaler_ ? scratchRow_.data() : pixels_ + row_ * bytesPerLine_;
}

void RowSink::commitRow()
{
    if (downscaler_)
        downscaler_->addRow(scratchRow_.data());
    ++row_;
}

QImage toOutputFormat(QImage image)
{
    if (image.hasAlphaChannel())
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    else if (image.format() != QImage::Format_Grayscale8 && image.format() != QImage::Format_RGB32)
        image.convertTo(image.isGrayscale() ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    return image;
}

QImage shrinkImage(QImage image, QSize output, QImage buffer)
{
    if (image.size() == output)
        return image;
    QImage target = reuseOrAllocate(std::move(buffer), output, image.format());
    AreaDownscaler downscaler(image.size(), target);
    for (int y = 0; y < image.height(); ++y)
        downscaler.addRow(image.constScanLine(y));
    return target;
}

} // namespace imaging::codecs
