#include "imaging/effects/effectrunner.h"

#include <QCoreApplication>
#include <QThread>

#include "imaging/error.h"

namespace imaging {

EffectRunner::EffectRunner(QObject* parent) : QObject(parent) {}

EffectRunner::~EffectRunner()
{
    if (thread_) {
        cancel_ = true;
        thread_->wait();
        delete thread_;
    }
}

bool EffectRunner::start(Work work)
{
    if (thread_)
        return false;
    cancel_ = false;
    result_ = QImage();
    failure_.clear();
    cancelled_ = false;
    thread_ = QThread::create([this, work = std::move(work)] {
        TaskControl control;
        control.cancel = &cancel_;
        control.progress = [this](int percent, const QString&) {
            QMetaObject::invokeMethod(
                this, [this, percent] { emit progress(percent); }, Qt::QueuedConnection);
        };
        try {
            result_ = work(control);
        } catch (const Error& error) {
            cancelled_ = error.code() == ErrorCode::Cancelled || cancel_;
            failure_ = error.text();
        } catch (const std::exception& error) {
            failure_ = QString::fromUtf8(error.what());
        }
        cancelled_ = cancelled_ || cancel_;
    });
    connect(thread_, &QThread::finished, this, &EffectRunner::ended, Qt::QueuedConnection);
    thread_->start();
    return true;
}

void EffectRunner::stop()
{
    cancel_ = true;
}

void EffectRunner::wait()
{
    if (!thread_)
        return;
    thread_->wait();
    ended();
    // The progress reports still queued.
    QCoreApplication::sendPostedEvents(this);
}

void EffectRunner::ended()
{
    if (!thread_ || !thread_->isFinished())
        return;
    delete thread_;
    thread_ = nullptr;
    if (cancelled_)
        emit stopped();
    else if (!failure_.isEmpty())
        emit failed(failure_);
    else
        emit finished(result_);
}

} // namespace imaging
