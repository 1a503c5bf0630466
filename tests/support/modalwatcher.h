// Acts on the program's own modal windows while a test opens them: each queued action runs
// on the next modal window that appears (from a short timer, as a user would), and a window
// left open with no action queued is rejected and counted as a leftover.
#pragma once

#include <QDialog>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class ModalWatcher : public QObject {
    Q_OBJECT
public:
    ModalWatcher();

    // Queues what to do with the next modal window (fill fields, then accept or reject).
    void onNextModal(std::function<void(QDialog&)> action);
    // Queued actions that never found their window.
    int unused() const { return static_cast<int>(actions_.size()); }
    int leftovers = 0;
    int handled = 0;

private:
    void poll();

    QTimer timer_;
    std::deque<std::function<void(QDialog&)>> actions_;
};
