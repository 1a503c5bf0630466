#include "child_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <QDeadlineTimer>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fixtures {

namespace {

// What the child reports through its pipe.
struct Report {
    ChildRun::End end;
    int code;
    long peakGrowthMiB;
    long programPeakMiB;
    char text[512];
};

long peakMiB(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss / 1024; // kilobytes on Linux
}

rlim_t mappedBytes()
{
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

[[noreturn]] void runChild(int output, const std::function<void()>& action, long addressSpaceMiB)
{
    const rlimit limit{mappedBytes() + static_cast<rlim_t>(addressSpaceMiB) * 1024 * 1024, RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
    Report report{ChildRun::End::Returned, 0, 0, 0, {}};
    const long before = peakMiB(RUSAGE_SELF);
    const auto keepText = [&report](const char* text) { std::strncpy(report.text, text, sizeof report.text - 1); };
    try {
        action();
    } catch (const imaging::Error& error) {
        report.end = ChildRun::End::Error;
        report.code = error.codeValue();
        keepText(error.what());
    } catch (const std::exception& error) {
        report.end = ChildRun::End::OtherException;
        keepText(error.what());
    }
    report.peakGrowthMiB = peakMiB(RUSAGE_SELF) - before;
    report.programPeakMiB = peakMiB(RUSAGE_CHILDREN);
    const bool written = write(output, &report, sizeof report) == static_cast<ssize_t>(sizeof report);
    _exit(written ? 0 : 1);
}

// Reads the report until the deadline; false when the child died or ran out of time first.
bool readReport(int input, Report& report, const QDeadlineTimer& deadline)
{
    auto* bytes = reinterpret_cast<char*>(&report);
    size_t received = 0;
    while (received < sizeof report) {
        pollfd ready{input, POLLIN, 0};
        const int waiting = poll(&ready, 1, static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
        if (waiting < 0 && errno == EINTR)
            continue;
        if (waiting <= 0)
            return false;
        const ssize_t got = read(input, bytes + received, sizeof report - received);
        if (got <= 0)
            return false;
        received += static_cast<size_t>(got);
    }
    return true;
}

} // namespace

QString ChildRun::describe() const
{
    switch (end) {
    case End::Returned:
        return QStringLiteral("returned without error");
    case End::Error:
        return QStringLiteral("Error(%1): %2").arg(static_cast<int>(code)).arg(text);
    case End::OtherException:
        return QStringLiteral("an exception other than imaging::Error: %1").arg(text);
    case End::Crashed:
        return QStringLiteral("the child process crashed");
    case End::TimedOut:
        return QStringLiteral("the child process did not end in time and was killed");
    }
    return {};
}

ChildRun runInChild(const std::function<void()>& action, long addressSpaceMiB, std::chrono::seconds timeLimit)
{
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        return {};
    const QDeadlineTimer deadline(timeLimit);
    const pid_t child = fork();
    if (child == 0) {
        // A group of its own, so that the programs it starts die with it when it is killed.
        setpgid(0, 0);
        close(channel[0]);
        runChild(channel[1], action, addressSpaceMiB);
    }
    if (child > 0)
        setpgid(child, child);
    close(channel[1]);
    Report report{};
    const bool reported = child > 0 && readReport(channel[0], report, deadline);
    close(channel[0]);
    if (child < 0)
        return {};
    const bool late = !reported && deadline.hasExpired();
    if (late)
        kill(-child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    ChildRun run;
    if (!reported) {
        run.end = late ? ChildRun::End::TimedOut : ChildRun::End::Crashed;
        return run;
    }
    run.end = report.end;
    run.code = static_cast<imaging::ErrorCode>(report.code);
    run.text = QString::fromUtf8(report.text);
    run.peakGrowthMiB = report.peakGrowthMiB;
    run.programPeakMiB = report.programPeakMiB;
    return run;
}

} // namespace fixtures
