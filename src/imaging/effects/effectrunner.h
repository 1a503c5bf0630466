// Runs one effect at a time on a worker thread, so the window stays responsive on large
// pictures; reports progress and the result on the window's thread, and stops on request.
#pragma once

#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>

#include "imaging/taskcontrol.h"

class QThread;

namespace imaging {

class EffectRunner : public QObject {
    Q_OBJECT
public:
    using Work = std::function<QImage(const TaskControl&)>;

    explicit EffectRunner(QObject* parent = nullptr);
    ~EffectRunner() override; // stops a running effect and waits for its thread

    // Starts `work` unless one is running; returns whether it started.
    bool start(Work work);
    void stop();
    bool running() const { return thread_ != nullptr; }
    // Waits until the running effect has ended and its end was reported.
    void wait();

signals:
    void progress(int percent);
    void finished(const QImage& result);
    void failed(const QString& text); // an engine failure, not a stop
    void stopped();

private:
    void ended();

    QThread* thread_ = nullptr;
    std::atomic_bool cancel_{false};
    QImage result_;
    QString failure_;
    bool cancelled_ = false;
};

} // namespace imaging
