#include "imaging/thumbnaildecoder.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>

#include "imaging/decoder.h"
#include "imaging/error.h"

namespace imaging {

ThumbnailDecoder::ThumbnailDecoder(QSize box, Done done, QObject* parent)
    : QObject(parent), box_(box), done_(std::move(done)), page_(std::make_shared<Page>())
{
    pool_.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
}

ThumbnailDecoder::~ThumbnailDecoder()
{
    page_->cancel = true;
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailDecoder::newPage()
{
    page_->cancel = true;
    // Decodes not yet started are dropped; running ones stop at their next check.
    pool_.clear();
    auto next = std::make_shared<Page>();
    next->number = page_->number + 1;
    page_ = std::move(next);
}

void ThumbnailDecoder::decode(int slot, const QByteArray& bytes, PcdMode pcd)
{
    pool_.start([this, page = page_, slot, bytes, pcd, box = box_] {
        QImage image;
        try {
            DecodeRequest request;
            request.fitInto = box;
            request.pcdResolution = pcd;
            request.control.cancel = &page->cancel;
            image = imaging::decode(bytes, std::move(request)).image;
        } catch (const std::exception&) {
            // A picture that cannot be decoded (or a cancelled decode) leaves its slot empty.
        }
        if (page->cancel)
            return;
        QMetaObject::invokeMethod(
            this, [this, number = page->number, slot, image = std::move(image)] { deliver(number, slot, image); },
            Qt::QueuedConnection);
    });
}

void ThumbnailDecoder::wait()
{
    pool_.waitForDone();
    // The results were posted to this thread; take them now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void ThumbnailDecoder::deliver(quint64 page, int slot, QImage image)
{
    if (page == page_->number)
        done_(slot, std::move(image));
}

} // namespace imaging
