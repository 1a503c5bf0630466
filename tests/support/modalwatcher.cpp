#include "support/modalwatcher.h"

#include <QApplication>
#include <QProgressDialog>

ModalWatcher::ModalWatcher()
{
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
    timer_.start();
}

void ModalWatcher::onNextModal(std::function<void(QDialog&)> action)
{
    actions_.push_back(std::move(action));
}

void ModalWatcher::poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    // Progress windows close by themselves when their work is done.
    if (!dialog || !dialog->isVisible() || qobject_cast<QProgressDialog*>(dialog))
        return;
    if (actions_.empty()) {
        ++leftovers;
        dialog->reject();
        return;
    }
    auto action = std::move(actions_.front());
    actions_.pop_front();
    ++handled;
    action(*dialog);
}
