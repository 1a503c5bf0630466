#include "paradox/posixfile.h"

#include "paradox/failure.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace paradox {

namespace {

constexpr int openFlags(PosixFile::Access access)
{
    return (access == PosixFile::Access::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
}

// The most parts one pwritev takes on Linux (IOV_MAX).
constexpr std::size_t maxParts = 1024;
// The buffer of a copy the kernel cannot make file to file.
constexpr std::size_t copyBufferSize = 1 << 20;

bool isPermissionProblem(int code)
{
    return code == EACCES || code == EROFS || code == EPERM;
}

// copy_file_range cannot copy between these two files (other file systems, or a file system
// or kernel without it), but reading and writing can.
bool kernelCannotCopy(int code)
{
    return code == EXDEV || code == ENOSYS || code == EINVAL || code == EOPNOTSUPP;
}

std::size_t copyPiece(std::uint64_t left)
{
    return static_cast<std::size_t>(std::min<std::uint64_t>(left, std::numeric_limits<ssize_t>::max()));
}

[[noreturn]] void endedEarly(const PosixFile& source, std::uint64_t length, std::uint64_t done)
{
    fail(source.path(), "the file ended after " + std::to_string(done) + " of its " + std::to_string(length) +
                            " bytes; it changed while it was being copied");
}

// Goes on with a copy that has done its first done bytes, through a bounded buffer.
void copyThroughBuffer(const PosixFile& source, std::uint64_t sourceOffset, std::uint64_t length, PosixFile& target,
                       std::uint64_t offset, std::uint64_t done)
{
    std::vector<std::uint8_t> buffer(std::min<std::size_t>(copyPiece(length - done), copyBufferSize));
    while (done < length) {
        const auto piece = std::span(buffer).first(std::min<std::size_t>(copyPiece(length - done), buffer.size()));
        const std::size_t got = source.readSomeAt(sourceOffset + done, piece);
        if (got != piece.size())
            endedEarly(source, length, done + got);
        target.writeAt(offset + done, piece);
        done += got;
    }
}

} // namespace

PosixFile::PosixFile(int fd, std::filesystem::path path, Access access)
    : fd_(fd), path_(std::move(path)), access_(access)
{}

PosixFile::PosixFile(PosixFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), access_(other.access_)
{}

PosixFile& PosixFile::operator=(PosixFile&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        access_ = other.access_;
    }
    return *this;
}

PosixFile::~PosixFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<PosixFile> PosixFile::openExisting(const std::filesystem::path& path)
{
    int fd = ::open(path.c_str(), openFlags(Access::ReadWrite));
    if (fd >= 0)
        return PosixFile(fd, path, Access::ReadWrite);
    if (isPermissionProblem(errno)) {
        fd = ::open(path.c_str(), openFlags(Access::ReadOnly));
        if (fd >= 0)
            return PosixFile(fd, path, Access::ReadOnly);
    }
    if (errno == ENOENT)
        return std::nullopt;
    failSystem(path, "open the file");
}

PosixFile PosixFile::open(const std::filesystem::path& path, Access access)
{
    const int fd = ::open(path.c_str(), openFlags(access));
    if (fd < 0)
        failSystem(path, "open the file");
    return PosixFile(fd, path, access);
}

PosixFile PosixFile::create(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        failSystem(path, "create the file");
    return PosixFile(fd, path, Access::ReadWrite);
}

PosixFile PosixFile::openRegular(const std::filesystem::path& path)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer; regular files ignore the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        failSystem(path, "open the file");
    PosixFile file(fd, path, Access::ReadOnly);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        failSystem(path, "query the file");
    // Only a regular file has a size that says how much content it has.
    if (S_ISDIR(st.st_mode))
        fail(path, "it is a folder, not a file");
    if (!S_ISREG(st.st_mode))
        fail(path, "it is not a regular file but a device, pipe or socket");
    return file;
}

std::uint64_t PosixFile::size() const
{
    return stamp().size;
}

PosixFile::Stamp PosixFile::stamp() const
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        failSystem(path_, "query the file");
    return {static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(st.st_ino)};
}

std::size_t PosixFile::readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::pread(fd_, buffer.data() + done, buffer.size() - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failSystem(path_, "read at offset " + std::to_string(offset + done));
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void PosixFile::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const
{
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) ||
        readSomeAt(offset, buffer) != buffer.size())
        fail(path_, "the file is truncated: " + std::to_string(buffer.size()) + " bytes at offset " +
                        std::to_string(offset) + " are missing");
}

void PosixFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> data)
{
    const iovec part{const_cast<std::uint8_t*>(data.data()), data.size()};
    writeAt(offset, std::span<const iovec>(&part, 1));
}

void PosixFile::writeAt(std::uint64_t offset, std::span<const iovec> parts)
{
    std::vector<iovec> pending(parts.begin(), parts.end());
    std::size_t first = 0;
    while (first < pending.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(pending.size() - first, maxParts));
        const ssize_t n = ::pwritev(fd_, pending.data() + first, count, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failSystem(path_, "write at offset " + std::to_string(offset));
        }
        if (n == 0)
            fail(path_, "the disk accepted no more data at offset " + std::to_string(offset));
        offset += static_cast<std::uint64_t>(n);
        // Skip what was written; a short write leaves the rest of a part for the next round.
        for (auto left = static_cast<std::size_t>(n); left > 0 && first < pending.size();) {
            iovec& part = pending[first];
            const std::size_t used = std::min(left, part.iov_len);
            part.iov_base = static_cast<std::uint8_t*>(part.iov_base) + used;
            part.iov_len -= used;
            left -= used;
            if (part.iov_len == 0)
                ++first;
        }
        while (first < pending.size() && pending[first].iov_len == 0)
            ++first;
    }
}

void PosixFile::copyFrom(const PosixFile& source, std::uint64_t sourceOffset, std::uint64_t length,
                         std::uint64_t offset)
{
    for (std::uint64_t done = 0; done < length;) {
        auto from = static_cast<off64_t>(sourceOffset + done);
        auto to = static_cast<off64_t>(offset + done);
        const ssize_t n = ::copy_file_range(source.fd_, &from, fd_, &to, copyPiece(length - done), 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (!kernelCannotCopy(errno))
                failSystem(path_, "copy " + source.path_.string() + " to offset " + std::to_string(offset + done));
            copyThroughBuffer(source, sourceOffset, length, *this, offset, done);
            return;
        }
        if (n == 0)
            endedEarly(source, length, done);
        done += static_cast<std::uint64_t>(n);
    }
}

void PosixFile::truncate(std::uint64_t size)
{
    while (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR)
            failSystem(path_, "change the file size to " + std::to_string(size));
    }
}

} // namespace paradox
