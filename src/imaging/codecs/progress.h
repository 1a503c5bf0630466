// Forwards a codec's progress to the caller's TaskControl and answers its cancel requests.
#pragma once

#include "imaging/taskcontrol.h"

#include <QString>

namespace imaging::codecs {

class Progress {
public:
    Progress(const TaskControl& control, QString status);

    bool cancelRequested() const;
    [[noreturn]] void throwCancelled() const;

    // Reports only changes, so callers may call it per row. Never throws: it is also called
    // from inside C libraries' callbacks.
    void report(int percent);
    void report(qint64 done, qint64 total);

    // Checks for a cancel request (throwing Error(Cancelled)), then reports.
    void step(qint64 done, qint64 total);

private:
    const TaskControl& control_;
    QString status_;
    int lastPercent_ = -1;
};

} // namespace imaging::codecs
