// Decodes picture files at preview size on worker threads, so the window never waits for a
// file or a codec. Only the newest request is answered: a new one cancels the one running, and
// a result of an older one never arrives.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <atomic>
#include <memory>

class PreviewLoader : public QObject {
    Q_OBJECT
public:
    explicit PreviewLoader(QObject* parent = nullptr);
    // Cancels the running decode and waits for it to stop.
    ~PreviewLoader() override;

    // Starts decoding the file at `path` fitted into `box`.
    void load(const QString& path, QSize box);
    // Drops the running request; nothing more arrives for it.
    void cancel();

signals:
    // `fullSize` is the picture's own size, `image` the fitted one.
    void loaded(const QString& path, const QImage& image, QSize fullSize);
    // Not a picture the album reads, damaged, too large, or unreadable.
    void failed(const QString& path);

private:
    void deliver(quint64 ticket, const QString& path, const QImage& image, QSize fullSize);

    quint64 latest_ = 0;
    std::shared_ptr<std::atomic_bool> cancelRunning_;
    // Two threads: a codec that is slow to notice its cancellation must not hold up the next file.
    QThreadPool pool_;
};
