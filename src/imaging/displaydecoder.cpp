#include "imaging/displaydecoder.h"

#include <QMetaObject>

#include <algorithm>

#include "imaging/error.h"

namespace imaging {

DisplayDecoder::DisplayDecoder(Done done, Failed failed, Progress progress, QObject* parent,
                               DecodeFunction decodeFunction)
    : QObject(parent), done_(std::move(done)), failed_(std::move(failed)), progress_(std::move(progress)),
      decode_(std::move(decodeFunction))
{}

DisplayDecoder::~DisplayDecoder()
{
    std::list<std::unique_ptr<Task>> tasks;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        next_.reset();
        cancelRunning();
        tasks = std::move(tasks_);
    }
    // Without the lock: a task takes it to finish.
    for (const auto& task : tasks)
        task->thread.join();
}

quint64 DisplayDecoder::decode(const QByteArray& bytes, QSize box, PcdMode pcd)
{
    const std::lock_guard lock(mutex_);
    joinFinished();
    const quint64 ticket = ++latest_;
    next_ = Job{ticket, bytes, box, pcd, {}};
    if (spare_.size().isValid()) {
        next_->buffer = std::move(spare_);
        spare_ = QImage();
    }
    outcome_.reset();
    cancelRunning();
    startWaitingJob();
    return ticket;
}

void DisplayDecoder::cancel()
{
    const std::lock_guard lock(mutex_);
    joinFinished();
    ++latest_; // whatever is waiting or running is now stale
    next_.reset();
    outcome_.reset();
    cancelRunning();
}

void DisplayDecoder::wait()
{
    {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return !next_ && !latestRunning(); });
    }
    deliver();
}

void DisplayDecoder::recycle(QImage image)
{
    if (image.isNull())
        return;
    const std::lock_guard lock(mutex_);
    spare_ = std::move(image);
}

void DisplayDecoder::startWaitingJob()
{
    if (!next_ || stopping_)
        return;
    // Every decode still running was cancelled when this job came.
    const auto abandoned =
        std::count_if(tasks_.begin(), tasks_.end(), [](const auto& task) { return !task->finished; });
    if (abandoned > abandonedLimit)
        return; // started when one of them ends
    auto& task = *tasks_.emplace_back(std::make_unique<Task>());
    task.ticket = next_->ticket;
    task.thread = std::thread([this, &task, job = std::move(*next_)]() mutable { run(task, std::move(job)); });
    next_.reset();
}

void DisplayDecoder::cancelRunning()
{
    for (const auto& task : tasks_)
        task->cancel = true;
}

void DisplayDecoder::joinFinished()
{
    // A finished task only posts its delivery after this point, so joining it is quick.
    for (auto task = tasks_.begin(); task != tasks_.end();) {
        if ((*task)->finished) {
            (*task)->thread.join();
            task = tasks_.erase(task);
        } else {
            ++task;
        }
    }
}

bool DisplayDecoder::latestRunning() const
{
    return std::any_of(tasks_.begin(), tasks_.end(),
                       [this](const auto& task) { return !task->finished && task->ticket == latest_; });
}

void DisplayDecoder::run(Task& task, Job job)
{
    Outcome outcome{job.ticket, std::nullopt, 0, {}};
    try {
        DecodeRequest request;
        request.fitInto = job.box;
        request.pcdResolution = job.pcd;
        request.buffer = std::move(job.buffer);
        request.control.cancel = &task.cancel;
        request.control.progress = [this, ticket = job.ticket](int percent, const QString& status) {
            QMetaObject::invokeMethod(
                this, [this, ticket, percent, status] { progress_(ticket, percent, status); }, Qt::QueuedConnection);
        };
        outcome.picture = decode_(job.bytes, std::move(request));
    } catch (const Error& error) {
        outcome.code = error.codeValue();
        outcome.text = error.text();
    } catch (const std::exception& error) {
        outcome.code = static_cast<int>(ErrorCode::DamagedPicture);
        outcome.text = QString::fromUtf8(error.what());
    }

    {
        const std::lock_guard lock(mutex_);
        task.finished = true;
        if (outcome.ticket == latest_)
            outcome_ = std::move(outcome);
        startWaitingJob();
    }
    finished_.notify_all();
    QMetaObject::invokeMethod(
        this, [this] { deliver(); }, Qt::QueuedConnection);
}

void DisplayDecoder::deliver()
{
    std::optional<Outcome> outcome;
    {
        const std::lock_guard lock(mutex_);
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
