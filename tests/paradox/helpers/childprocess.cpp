#include "helpers/childprocess.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace paradox::test {

Pipe::Pipe()
{
    if (::pipe(fds_) != 0)
        throw std::runtime_error("cannot create a pipe");
}

Pipe::~Pipe()
{
    closeRead();
    closeWrite();
}

void Pipe::closeRead()
{
    if (fds_[0] >= 0)
        ::close(fds_[0]);
    fds_[0] = -1;
}

void Pipe::closeWrite()
{
    if (fds_[1] >= 0)
        ::close(fds_[1]);
    fds_[1] = -1;
}

void Pipe::signal()
{
    const char byte = 1;
    if (::write(fds_[1], &byte, 1) != 1)
        throw std::runtime_error("cannot write to a pipe");
}

bool Pipe::wait()
{
    char byte = 0;
    return ::read(fds_[0], &byte, 1) == 1;
}

pid_t spawn(const std::function<void()>& body)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        int status = 0;
        try {
            body();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "child process failed: %s\n", error.what());
            status = 1;
        }
        ::_exit(status);
    }
    return child;
}

int finish(pid_t child, rusage* usage)
{
    int status = 0;
    rusage ignored{};
    ::wait4(child, &status, 0, usage ? usage : &ignored);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

} // namespace paradox::test
