#include "pictures/previewloader.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <optional>

#include "imaging/decoder.h"

namespace {

// Beyond these a preview would cost more memory and time than it is worth.
constexpr qint64 maxPreviewFileBytes = 256LL * 1024 * 1024;
constexpr qint64 maxPreviewPixels = 100'000'000;
constexpr qint64 readChunkBytes = 1024 * 1024;

std::optional<QByteArray> readFile(const QString& path, const std::atomic_bool& cancel)
{
    const QFileInfo info(path);
    // Only regular files: reading a named pipe or a device could wait for ever.
    if (!info.isFile() || info.size() > maxPreviewFileBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(info.size());
    while (!file.atEnd()) {
        if (cancel)
            return std::nullopt;
        const QByteArray chunk = file.read(readChunkBytes);
        if (chunk.isEmpty())
            return std::nullopt;
        bytes.append(chunk);
    }
    return bytes;
}

std::optional<imaging::DecodedPicture> decodePreview(const QString& path, QSize box, const std::atomic_bool& cancel)
{
    const std::optional<QByteArray> bytes = readFile(path, cancel);
    if (!bytes || cancel)
        return std::nullopt;
    imaging::DecodeRequest request;
    request.fitInto = box;
    request.control.cancel = &cancel;
    request.pixelLimit = maxPreviewPixels;
    try {
        return imaging::decode(*bytes, std::move(request));
    } catch (const std::exception&) {
        return std::nullopt; // silent by design: a file without a preview just says so
    }
}

} // namespace

PreviewLoader::PreviewLoader(QObject* parent) : QObject(parent)
{
    pool_.setMaxThreadCount(2);
}

PreviewLoader::~PreviewLoader()
{
    cancel();
    pool_.waitForDone();
}

void PreviewLoader::load(const QString& path, QSize box)
{
    cancel();
    const quint64 ticket = latest_;
    auto cancelFlag = std::make_shared<std::atomic_bool>(false);
    cancelRunning_ = cancelFlag;
    pool_.start([this, ticket, path, box, cancelFlag] {
        const std::optional<imaging::DecodedPicture> picture = decodePreview(path, box, *cancelFlag);
        QMetaObject::invokeMethod(
            this,
            [this, ticket, path, image = picture ? picture->image : QImage(),
             fullSize = picture ? picture->fullSize : QSize()] { deliver(ticket, path, image, fullSize); },
            Qt::QueuedConnection);
    });
}

void PreviewLoader::cancel()
{
    ++latest_;
    if (cancelRunning_)
        *cancelRunning_ = true;
    cancelRunning_.reset();
}

void PreviewLoader::deliver(quint64 ticket, const QString& path, const QImage& image, QSize fullSize)
{
    if (ticket != latest_)
        return;
    cancelRunning_.reset();
    if (image.isNull())
        emit failed(path);
    else
        emit loaded(path, image, fullSize);
}
