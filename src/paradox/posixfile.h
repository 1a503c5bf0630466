// An open file descriptor with exact positional reads and writes; closed on destruction.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <sys/uio.h>

namespace paradox {

class PosixFile {
public:
    enum class Access { ReadOnly, ReadWrite };

    // Whether two looks at a file can tell that someone wrote to it in between.
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    // Opens read-write when permitted, otherwise read-only; nullopt when the file is missing.
    static std::optional<PosixFile> openExisting(const std::filesystem::path& path);
    static PosixFile open(const std::filesystem::path& path, Access access);
    // Creates the file, or empties it when it exists.
    static PosixFile create(const std::filesystem::path& path);
    // Opens a regular file read-only for its content; a folder, device, pipe or socket is
    // refused, without waiting for a pipe's writer.
    static PosixFile openRegular(const std::filesystem::path& path);

    PosixFile(PosixFile&& other) noexcept;
    PosixFile& operator=(PosixFile&& other) noexcept;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;
    ~PosixFile();

    int descriptor() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }
    bool writable() const { return access_ == Access::ReadWrite; }

    std::uint64_t size() const;
    Stamp stamp() const;

    // Reads exactly buffer.size() bytes; a file that ends earlier is reported as truncated.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    // Reads up to buffer.size() bytes and returns how many the file had.
    std::size_t readSomeAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> data);
    void writeAt(std::uint64_t offset, std::span<const iovec> parts);
    // Writes length bytes of source, from sourceOffset, at offset. The kernel copies them from
    // file to file when it can, and through a small buffer of ours when not. A source that ends
    // before them is an Error (it changed since its size was taken).
    void copyFrom(const PosixFile& source, std::uint64_t sourceOffset, std::uint64_t length, std::uint64_t offset);
    void truncate(std::uint64_t size);

private:
    PosixFile(int fd, std::filesystem::path path, Access access);

    int fd_ = -1;
    std::filesystem::path path_;
    Access access_ = Access::ReadOnly;
};

} // namespace paradox
