// Runs a decode of hostile input in a child process with little room, so that a decoder that
// runs away fails its test instead of taking the machine down with it.
#pragma once

#include "imaging/error.h"

#include <chrono>
#include <functional>
#include <optional>
#include <QString>

namespace fixtures {

struct ChildRun {
    enum class End { Returned, Error, OtherException, Crashed, TimedOut };
    End end = End::Crashed;
    imaging::ErrorCode code{}; // for End::Error
    QString text;              // the exception's message
    // How much the child's peak resident memory grew while it ran the action, and the peak of
    // any program it started (Ghostscript), in MiB.
    long peakGrowthMiB = 0;
    long programPeakMiB = 0;

    // "Error(4): cancelled", "returned", "killed after 30 s", ... for test messages.
    QString describe() const;
};

// Runs `action` in a forked child that may map at most `addressSpaceMiB` more memory than it
// had at the start (its programs inherit that limit), and kills it after `timeLimit`.
ChildRun runInChild(const std::function<void()>& action, long addressSpaceMiB = 1024,
                    std::chrono::seconds timeLimit = std::chrono::seconds(30));

} // namespace fixtures
