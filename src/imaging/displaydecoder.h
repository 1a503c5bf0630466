// Decodes pictures for display on a worker thread, one at a time: a new request cancels the
// one running. Results and progress come back on the thread that owns the decoder, through
// the callbacks, in the order they happened; a result of a superseded request never arrives.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>

#include <atomic>
#include <condition_variable>
#include <functional>
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

    DisplayDecoder(Done done, Failed failed, Progress progress, QObject* parent = nullptr);
    ~DisplayDecoder() override;

    // Starts decoding `bytes` fitted into `box` (empty: full size); returns its ticket.
    quint64 decode(const QByteArray& bytes, QSize box, PcdMode pcd);
    // Stops the running decode; its result never arrives.
    void cancel();
    // Blocks until the latest request has finished and its result has been handed over.
    void wait();
    bool busy() const;
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

    void run();
    void deliver();

    Done done_;
    Failed failed_;
    Progress progress_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::optional<Job> next_;
    std::optional<Outcome> outcome_;
    quint64 latest_ = 0;
    quint64 running_ = 0;
    std::atomic_bool cancelRunning_{false};
    bool stopping_ = false;
    QImage spare_;
    std::thread worker_;
};

} // namespace imaging
