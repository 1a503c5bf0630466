// How a caller follows and stops a long decode or encode.
#pragma once

#include <atomic>
#include <functional>
#include <QString>

namespace imaging {

// percent runs from 0 to 100 and never goes back; status says what is being done. It runs on
// the thread doing the work, only when the percentage changes, and must not throw.
using ProgressCallback = std::function<void(int percent, const QString& status)>;

struct TaskControl {
    ProgressCallback progress;
    // Polled often (for JPEG once per scanline); once true the operation stops with
    // Error(Cancelled) and leaves nothing behind.
    const std::atomic_bool* cancel = nullptr;
};

} // namespace imaging
