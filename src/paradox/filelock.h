// Operating-system locks on the table file.
//
// Two kinds work together. The open lock (flock) is held for the lifetime of a table handle:
// shared by readers and writers that cooperate, exclusive for a sole user. flock belongs to the
// open file description, so a second handle in the same process conflicts like another process.
// The access lock (an OFD byte-range lock far beyond any data) is held only briefly: shared
// while a handle reads a consistent picture of the files, exclusive while a handle changes them
// or rolls back a journal. OFD locks also belong to the open file description and vanish when a
// process dies, so a crashed writer never leaves a stale lock behind.
#pragma once

#include "paradox/posixfile.h"
#include "paradox/table.h"

namespace paradox {

// Takes the open lock for the lifetime of the file descriptor; InUseError when it is taken.
void takeOpenLock(const PosixFile& file, Lock mode);

class AccessLock {
public:
    enum class Mode { Read, Write };
    // Waits until the lock is granted.
    AccessLock(const PosixFile& file, Mode mode);
    ~AccessLock();
    AccessLock(const AccessLock&) = delete;
    AccessLock& operator=(const AccessLock&) = delete;

private:
    const PosixFile& file_;
};

} // namespace paradox
