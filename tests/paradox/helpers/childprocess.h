// Running part of a test in a forked process, and pipes to talk to it.
#pragma once

#include <functional>
#include <sys/resource.h>
#include <sys/types.h>

namespace paradox::test {

// A pipe whose ends close on destruction.
class Pipe {
public:
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    int readEnd() const { return fds_[0]; }
    int writeEnd() const { return fds_[1]; }
    void closeRead();
    void closeWrite();
    // One byte as a signal; wait() returns false when the other side closed the pipe instead.
    void signal();
    bool wait();

private:
    int fds_[2];
};

// Forks; the child runs body and exits with 0, or with 1 when body throws.
pid_t spawn(const std::function<void()>& body);
// Waits for the child and returns its exit status (-signal when a signal ended it); usage,
// when given, receives what the child used (its peak memory in ru_maxrss, in KB).
int finish(pid_t child, rusage* usage = nullptr);

} // namespace paradox::test
