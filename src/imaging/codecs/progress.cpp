#include "imaging/codecs/progress.h"

#include "imaging/error.h"

#include <algorithm>

namespace imaging::codecs {

Progress::Progress(const TaskControl& control, QString status)
    : m_control(control), m_status(std::move(status)) {}

bool Progress::cancelRequested() const {
    return m_control.cancel != nullptr && m_control.cancel->load(std::memory_order_relaxed);
}

void Progress::throwCancelled() const {
    throw Error(ErrorCode::Cancelled, QStringLiteral("%1: cancelled").arg(m_status));
}

void Progress::report(int percent) {
    // Percentages only grow: estimates of some libraries run backwards between passes.
    percent = std::clamp(percent, 0, 100);
    if (percent <= m_lastPercent || !m_control.progress)
        return;
    m_lastPercent = percent;
    m_control.progress(percent, m_status);
}

void Progress::report(qint64 done, qint64 total) {
    report(total > 0 ? static_cast<int>(done * 100 / total) : 0);
}

void Progress::step(qint64 done, qint64 total) {
    if (cancelRequested())
        throwCancelled();
    report(done, total);
}

} // namespace imaging::codecs
