// Reading values from a table's blob file (.mb), checking every pointer against the file.
#pragma once

#include "paradox/blobpointer.h"
#include "paradox/field.h"
#include "paradox/posixfile.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace paradox {

class BlobFile {
public:
    // Opens the file at path when it exists and checks its header block; only that block is read.
    explicit BlobFile(std::filesystem::path path);

    bool present() const { return file_.has_value(); }
    const std::filesystem::path& path() const { return path_; }
    PosixFile* file() { return file_ ? &*file_ : nullptr; }
    const PosixFile* file() const { return file_ ? &*file_ : nullptr; }
    std::uint16_t modificationCount() const { return modificationCount_; }

    // The value a pointer outside the record refers to. what names the field and record for
    // messages. Graphic values lose their eight leading bytes.
    Bytes read(const BlobPointer& pointer, bool graphic, std::string_view what) const;
    // Where a value kept in a block of its own starts in the file, checked as read() checks it;
    // nothing for a value in a shared block.
    std::optional<std::uint64_t> singleValueStart(const BlobPointer& pointer, std::string_view what) const;

private:
    // The pointed-to block's first bytes, after checking that the pointer can point there.
    std::size_t readBlockHead(const BlobPointer& pointer, std::span<std::uint8_t> head, std::string_view what) const;
    void checkSingle(std::uint64_t offset, std::span<const std::uint8_t> head, const BlobPointer& pointer,
                     std::string_view what) const;
    Bytes readSingle(std::uint64_t offset, std::span<const std::uint8_t> head, const BlobPointer& pointer,
                     std::string_view what) const;
    Bytes readShared(std::uint64_t offset, std::span<const std::uint8_t> head, const BlobPointer& pointer,
                     std::string_view what) const;
    [[noreturn]] void refuse(std::string_view what, const std::string& fault) const;

    std::filesystem::path path_;
    std::optional<PosixFile> file_;
    std::uint16_t modificationCount_ = 0;
};

} // namespace paradox
