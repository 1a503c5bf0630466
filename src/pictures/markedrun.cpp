#include "pictures/markedrun.h"

#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "data/controlssuspended.h"
#include "data/data.h"
#include "framework/mainview.h"
#include "imaging/decoder.h"
#include "imaging/error.h"
#include "imaging/pdbmultiimage.h"
#include "pictures/whilepainting.h"

namespace {

RunPicture decodeFullSize(QByteArray bytes, imaging::PcdMode pcd, bool ownColours,
                          const std::function<QImage()>& freeBuffer, const std::atomic_bool* cancel)
{
    RunPicture picture;
    picture.bytes = std::move(bytes);
    if (picture.empty())
        return picture;
    try {
        imaging::DecodeRequest request;
        request.pcdResolution = pcd;
        request.control.cancel = cancel;
        request.buffer = freeBuffer();
        request.keepOwnColours = ownColours;
        picture.decoded = imaging::decode(picture.bytes, std::move(request));
    } catch (const imaging::Error& error) {
        picture.errorCode = error.codeValue();
        picture.errorText = error.text();
    }
    return picture;
}

QByteArray storedPicture(const TTable& pictures, int distance)
{
    const std::optional<paradox::Value> value = pictures.peekVisible(distance, "FOTO");
    const auto* bytes = value ? std::get_if<paradox::Bytes>(&*value) : nullptr;
    if (!bytes)
        return {};
    return QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
}

// The decodes still running when a run ends are stopped and waited for, however it ends.
// The picture memory of the run is used again once nobody holds it any more: taking fresh
// memory for every big picture costs about a fifth of its decode. A decode looks for free
// memory only when it begins, on its worker thread: by then the files written from earlier
// pictures have mostly let theirs go.
class DecodesAhead {
public:
    DecodesAhead() { pool_.setMaxThreadCount(QThread::idealThreadCount()); }
    ~DecodesAhead()
    {
        cancel_ = true;
        pool_.waitForDone();
    }
    int depth() const { return pool_.maxThreadCount() + 1; }
    void start(QByteArray bytes, imaging::PcdMode pcd, bool ownColours)
    {
        futures_.push_back(QtConcurrent::run(
            &pool_, decodeFullSize, std::move(bytes), pcd, ownColours, [this] { return freeBuffer(); }, &cancel_));
    }
    std::size_t size() const { return futures_.size(); }
    RunPicture takeNext()
    {
        QFuture<RunPicture> next = futures_.front();
        futures_.pop_front();
        RunPicture picture = waitWhilePainting(next);
        keep(picture.image());
        return picture;
    }

private:
    QImage freeBuffer()
    {
        const std::lock_guard lock(buffersLock_);
        for (QImage& buffer : buffers_)
            if (!buffer.isNull() && buffer.isDetached())
                return std::exchange(buffer, QImage());
        return {};
    }
    void keep(const QImage& image)
    {
        if (image.isNull())
            return;
        const std::lock_guard lock(buffersLock_);
        const auto empty = std::find_if(buffers_.begin(), buffers_.end(), [](const QImage& b) { return b.isNull(); });
        if (empty != buffers_.end())
            *empty = image;
        else if (static_cast<int>(buffers_.size()) < 2 * depth())
            buffers_.push_back(image);
    }

    std::mutex buffersLock_;
    std::vector<QImage> buffers_; // held here too; free when only here
    QThreadPool pool_;
    std::atomic_bool cancel_{false};
    std::deque<QFuture<RunPicture>> futures_;
};

// Switches the view's decoding ahead off for a run: the run decodes ahead itself.
class PrefetchPaused {
public:
    explicit PrefetchPaused(TPDBMultiImage& view) : view_(view), was_(view.prefetching())
    {
        view_.setPrefetching(false);
    }
    ~PrefetchPaused() { view_.setPrefetching(was_); }
    PrefetchPaused(const PrefetchPaused&) = delete;
    PrefetchPaused& operator=(const PrefetchPaused&) = delete;

private:
    TPDBMultiImage& view_;
    bool was_;
};

} // namespace

MarkedRun::MarkedRun(Tdb& db, TPDBMultiImage& view, MainView& window, Colours colours)
    : db_(db), view_(view), window_(window), colours_(colours)
{}

int MarkedRun::remainingPictures()
{
    TTable& pictures = db_.Table1;
    if (pictures.isEmpty())
        return 0;
    const int start = pictures.recNo();
    const ControlsSuspended suspended(pictures);
    pictures.last();
    const int last = pictures.recNo();
    pictures.moveBy(start - last);
    return last - start + 1;
}

void MarkedRun::run(const std::function<bool(const RunPicture&)>& visit)
{
    TTable& pictures = db_.Table1;
    pictures.refresh();
    const int total = remainingPictures();
    if (total == 0)
        return;
    const BusyScope busy(window_);
    const PrefetchPaused paused(view_);
    const imaging::PcdMode pcd = view_.settings().pcdMode();
    DecodesAhead ahead;
    int queued = 0;
    window_.showProgress(0, total);
    for (int done = 0; done < total; ++done) {
        for (; queued < total && static_cast<int>(ahead.size()) < ahead.depth(); ++queued)
            ahead.start(storedPicture(pictures, queued - done), pcd, colours_ == Colours::Own);
        const RunPicture picture = ahead.takeNext();
        if (done > 0) {
            if (!picture.image().isNull())
                view_.offerDecoded(picture.bytes, picture.decoded);
            pictures.next();
        }
        const bool goOn = visit(picture);
        window_.showProgress(done + 1, total);
        if (!goOn)
            return;
    }
    pictures.next(); // past the last one: the table is at its end
}
