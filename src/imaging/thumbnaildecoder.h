// Decodes a page of thumbnails on worker threads, each picture directly at thumbnail size
// (JPEG reduced while decoding), several at once. Each finished thumbnail comes back on the
// owner's thread through the callback as soon as it is ready, so a page fills progressively.
// Starting a new page cancels the work left of the previous one; its results never arrive.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>

#include "imaging/savesettings.h"

namespace imaging {

class ThumbnailDecoder : public QObject {
    Q_OBJECT
public:
    // `image` is null when the picture could not be decoded.
    using Done = std::function<void(int slot, QImage image)>;

    ThumbnailDecoder(QSize box, Done done, QObject* parent = nullptr);
    // Cancels what is left and waits for the workers.
    ~ThumbnailDecoder() override;

    // Forgets the current page: its decodes stop, their results never arrive.
    void newPage();
    // Decodes `bytes` for `slot` of the current page.
    void decode(int slot, const QByteArray& bytes, PcdMode pcd = PcdMode::pcd_BASE);
    // Blocks until every decode of the current page has run and hands their results over.
    void wait();
    QSize box() const { return box_; }

private:
    struct Page {
        quint64 number = 0;
        std::atomic_bool cancel{false};
    };

    void deliver(quint64 page, int slot, QImage image);

    QSize box_;
    Done done_;
    QThreadPool pool_;
    std::shared_ptr<Page> page_;
};

} // namespace imaging
