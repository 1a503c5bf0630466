#include "imaging/displaydecoder.h"

#include <QMetaObject>

#include "imaging/error.h"

namespace imaging {

DisplayDecoder::DisplayDecoder(Done done, Failed failed, Progress progress, QObject* parent)
    : QObject(parent), done_(std::move(done)), failed_(std::move(failed)), progress_(std::move(progress))
{
    worker_ = std::thread([this] { run(); });
}

DisplayDecoder::~DisplayDecoder()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        next_.reset();
        cancelRunning_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

quint64 DisplayDecoder::decode(const QByteArray& bytes, QSize box, PcdMode pcd)
{
    std::lock_guard lock(mutex_);
    const quint64 ticket = ++latest_;
    next_ = Job{ticket, bytes, box, pcd, {}};
    if (spare_.size().isValid()) {
        next_->buffer = std::move(spare_);
        spare_ = QImage();
    }
    outcome_.reset();
    cancelRunning_ = running_ != 0;
    wake_.notify_all();
    return ticket;
}

void DisplayDecoder::cancel()
{
    std::lock_guard lock(mutex_);
    ++latest_; // whatever is queued or running is now stale
    next_.reset();
    outcome_.reset();
    cancelRunning_ = running_ != 0;
}

bool DisplayDecoder::busy() const
{
    std::lock_guard lock(mutex_);
    return next_.has_value() || running_ != 0 || outcome_.has_value();
}

void DisplayDecoder::wait()
{
    {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return !next_ && running_ == 0; });
    }
    deliver();
}

void DisplayDecoder::recycle(QImage image)
{
    if (image.isNull())
        return;
    std::lock_guard lock(mutex_);
    spare_ = std::move(image);
}

void DisplayDecoder::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || next_.has_value(); });
            if (stopping_)
                return;
            job = std::move(*next_);
            next_.reset();
            running_ = job.ticket;
            cancelRunning_ = false;
        }

        Outcome outcome{job.ticket, std::nullopt, 0, {}};
        try {
            DecodeRequest request;
            request.fitInto = job.box;
            request.pcdResolution = job.pcd;
            request.buffer = std::move(job.buffer);
            request.control.cancel = &cancelRunning_;
            request.control.progress = [this, ticket = job.ticket](int percent, const QString& status) {
                QMetaObject::invokeMethod(
                    this, [this, ticket, percent, status] { progress_(ticket, percent, status); },
                    Qt::QueuedConnection);
            };
            outcome.picture = imaging::decode(job.bytes, std::move(request));
        } catch (const Error& error) {
            outcome.code = error.codeValue();
            outcome.text = error.text();
        } catch (const std::exception& error) {
            outcome.code = static_cast<int>(ErrorCode::DamagedPicture);
            outcome.text = QString::fromUtf8(error.what());
        }

        {
            std::lock_guard lock(mutex_);
            running_ = 0;
            if (outcome.ticket == latest_)
                outcome_ = std::move(outcome);
        }
        finished_.notify_all();
        QMetaObject::invokeMethod(
            this, [this] { deliver(); }, Qt::QueuedConnection);
    }
}

void DisplayDecoder::deliver()
{
    std::optional<Outcome> outcome;
    {
        std::lock_guard lock(mutex_);
        if (!outcome_ || outcome_->ticket != latest_)
            return;
        outcome = std::move(outcome_);
        outcome_.reset();
    }
    if (outcome->picture)
        done_(outcome->ticket, std::move(*outcome->picture));
    else
        failed_(outcome->ticket, outcome->code, outcome->text);
}

} // namespace imaging
