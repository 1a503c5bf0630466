#include "imaging/codecs/progress.h"

#include "imaging/error.h"

#include <algorithm>

namespace imaging::codecs {

Progress::Progress(const TaskControl& control, QString status) : control_(control), status_(std::move(status)) {}

bool Progress::cancelRequested() const
{
    return control_.cancel != nullptr && control_.cancel->load(std::memory_order_relaxed);
}

void Progress::throwCancelled() const
{
    throw Error(ErrorCode::Cancelled, QStringLiteral("%1: cancelled").arg(status_));
}

void Progress::report(int percent)
{
    // Percentages only grow: estimates of some libraries run backwards between passes.
    percent = std::clamp(percent, 0, 100);
    if (percent <= lastPercent_ || !control_.progress)
        return;
    lastPercent_ = percent;
    control_.progress(percent, status_);
}

void Progress::report(qint64 done, qint64 total)
{
    report(total > 0 ? static_cast<int>(done * 100 / total) : 0);
}

void Progress::step(qint64 done, qint64 total)
{
    if (cancelRequested())
        throwCancelled();
    report(done, total);
}

} // namespace imaging::codecs
