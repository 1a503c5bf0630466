// The rollback journal that makes every change of a table survive the death of its process.
//
// Before a change touches a byte that already exists in the .db or .mb, the original bytes of
// every range it will overwrite, and the sizes of both files, are written to a journal file
// beside the table: <table file>-journal (album.db-journal). It is written in one piece and
// ends with a SHA-256 of its content, so a journal cut short by a crash is recognisably
// incomplete. Only then are the files changed; deleting the journal commits the change.
//
// A complete journal found later means its writer died mid-change: rolling it back restores
// the ranges and cuts both files to their old sizes, which also drops data appended after
// their ends. An incomplete journal means the writer died before touching the table, and is
// simply deleted. So is one that does not fit the files (sizes larger than theirs, ranges past
// those sizes): a change only grows the files and keeps only bytes that were in them, so such
// a journal belongs to other files, and applying it would write where it has no business. Process death (not power
// loss) is the concern, so nothing is fsynced: once a write returns, its bytes are in the page cache, visible to the
// next opener in order.
#pragma once

#include "paradox/field.h"
#include "paradox/posixfile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace paradox {

enum class TableFile : std::uint8_t { Table = 0, Blobs = 1 };

class Journal {
public:
    Journal(std::uint64_t tableSize, std::optional<std::uint64_t> blobsSize);

    static std::filesystem::path pathFor(const std::filesystem::path& dbPath);
    // The journal at path when it is complete; nullopt when missing or incomplete.
    static std::optional<Journal> load(const std::filesystem::path& path);

    void keep(TableFile file, std::uint64_t offset, Bytes original);
    void write(const std::filesystem::path& path) const;
    // Whether this can be the journal of a change to these files (see above).
    bool fits(const PosixFile& table, const PosixFile* blobs) const;
    // Restores the kept ranges and the old file sizes.
    void rollBack(PosixFile& table, PosixFile* blobs) const;

private:
    struct Range {
        TableFile file;
        std::uint64_t offset;
        Bytes original;
    };

    std::uint64_t tableSize_;
    std::optional<std::uint64_t> blobsSize_;
    std::vector<Range> ranges_;
};

// Rolls back (when complete) and deletes a journal a crashed writer left; false when none.
bool recoverFromJournal(const std::filesystem::path& dbPath, PosixFile& table, PosixFile* blobs);

} // namespace paradox
