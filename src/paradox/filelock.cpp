#include "paradox/filelock.h"

#include "paradox/error.h"
#include "paradox/failure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace paradox {

namespace {

// Far past the largest possible table file, so the lock never covers data another program
// might lock for its own reasons.
constexpr off_t accessLockOffset = 0x4000'0000'0000'0000;

bool setAccessLock(int fd, short type)
{
    struct flock request {};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = accessLockOffset;
    request.l_len = 1;
    while (::fcntl(fd, F_OFD_SETLKW, &request) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

void takeOpenLock(const PosixFile& file, Lock mode)
{
    const int operation = (mode == Lock::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    while (::flock(file.descriptor(), operation) != 0) {
        if (errno == EWOULDBLOCK)
            throw InUseError(file.path().string() +
                             ": the table is in use by another program or window; close it there first");
        if (errno != EINTR)
            failSystem(file.path(), "lock the table");
    }
}

AccessLock::AccessLock(const PosixFile& file, Mode mode) : file_(file)
{
    if (mode == Mode::Write && !file.writable())
        fail(file.path(), "the file is read-only");
    if (!setAccessLock(file.descriptor(), mode == Mode::Write ? F_WRLCK : F_RDLCK))
        failSystem(file.path(), "lock the table for access");
}

AccessLock::~AccessLock()
{
    setAccessLock(file_.descriptor(), F_UNLCK);
}

} // namespace paradox
