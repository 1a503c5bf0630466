// Decodes pictures for display on worker threads. A new request cancels the decode running
// and starts at once on a thread of its own: it never waits for the cancelled decode to stop,
// which for some decoders takes a while. Results and progress come back on the thread that owns
// the decoder, through the callbacks, in the order they happened; a result of a superseded
// request never arrives.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "imaging/decoder.h"

namespace imaging {

class DisplayDecoder : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(quint64 ticket, DecodedPicture picture)>;
    using Failed = std::function<void(quint64 ticket, int code, const QString& text)>;
    using Progress = std::function<void(quint64 ticket, int percent, const QString& status)>;
    using DecodeFunction = std::function<DecodedPicture(QByteArrayView bytes, DecodeRequest&& request)>;

    // Cancelled decodes still running at most; a new request waits for one of them to end
    // beyond that, so that a run of pictures that do not stop cannot pile up threads.
    static constexpr int abandonedLimit = 2;

    // `decodeFunction` is imaging::decode but for tests.
    DisplayDecoder(Done done, Failed failed, Progress progress, QObject* parent = nullptr,
                   DecodeFunction decodeFunction = &imaging::decode);
    // Cancels every decode and waits for their threads.
    ~DisplayDecoder() override;

    // Starts decoding `bytes` fitted into `box` (empty: full size); returns its ticket.
    quint64 decode(const QByteArray& bytes, QSize box, PcdMode pcd);
    // Stops the running decode; its result never arrives.
    void cancel();
    // Blocks until the latest request has finished and its result has been handed over;
    // cancelled decodes still running are not waited for.
    void wait();
    // Gives a no longer needed picture's memory back for the next decode of that size.
    void recycle(QImage image);

private:
    struct Job {
        quint64 ticket = 0;
        QByteArray bytes;
        QSize box;
        PcdMode pcd = PcdMode::pcd_BASE;
        QImage buffer;
    };
    struct Outcome {
        quint64 ticket = 0;
        std::optional<DecodedPicture> picture;
        int code = 0;
        QString text;
    };
    // One decode on a thread of its own.
    struct Task {
        quint64 ticket = 0;
        std::atomic_bool cancel{false};
        bool finished = false;
        std::thread thread;
    };

    // These three with the mutex held.
    void startWaitingJob();
    void cancelRunning();
    void joinFinished();
    bool latestRunning() const;

    void run(Task& task, Job job);
    void deliver();

    Done done_;
    Failed failed_;
    Progress progress_;
    DecodeFunction decode_;

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::list<std::unique_ptr<Task>> tasks_;
    std::optional<Job> next_; // waiting for a thread while too many cancelled ones run
    std::optional<Outcome> outcome_;
    quint64 latest_ = 0;
    bool stopping_ = false;
    QImage spare_;
};

} // namespace imaging
