// Waiting for work on worker threads while the main window goes on painting (its progress
// bar, the picture view); user input waits until the work has ended.
#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>

template <typename T> T waitWhilePainting(QFuture<T> future)
{
    if (!future.isFinished()) {
        QEventLoop loop;
        QFutureWatcher<T> watcher;
        QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        if (!future.isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return future.result();
}
