// A Paradox table file (.db) with its blob file (.mb).
//
// Opening reads the header and the data blocks of the record chain once and keeps the records
// in memory; blocks the chain does not reach (free ones, the holes of a sparse file) are not
// read, so what a header claims costs nothing until the chain shows it. Blob values are read
// from the .mb only when asked for and are not kept. Opening never reads the .mb beyond its
// header block.
//
// File names: a table or blob file is found under the name asked for, or, when the folder
// has no file of exactly that name, under a name that differs only in the case of its ASCII
// letters (WIN.DB for WIN.db, WIN.MB beside it); when several do, the first in byte order.
// Creating writes exactly the name asked for and removes the tables that differ from it only
// in case, as the table it replaces.
//
// Writing is supported for non-keyed, unencrypted level-7 tables whose fields are alpha,
// short, long, logical, memo or binary (the tables this program creates); other tables
// open read-only and every write on them is refused with an Error saying why.
//
// Every write is crash safe: a process killed at any moment leaves the table openable,
// every write that returned intact, and no half-written record.
//
// Records are addressed by their index along the block chain (0-based), which is the
// table order. Removing a record shifts the indexes of the later records down by one. Messages
// meant for people number records from 1 (index 0 is "record 1").
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "paradox/field.h"

namespace paradox {

enum class Lock {
    Shared,    // coexists with other shared opens; writes serialise through a short write lock
    Exclusive, // no other open, shared or exclusive, in any process or handle
};

struct OpenOptions {
    Lock lock = Lock::Exclusive;
    // Largest size the .mb may reach. The format addresses offsets up to 4 GiB; tests
    // lower this to exercise the capacity refusal without writing gigabytes.
    std::uint64_t blobFileLimit = 0xFFFFF000ull;
};

// Header facts, for tools and tests.
struct TableInfo {
    int fileVersion = 0; // 0x03 .. 0x0C
    int fileType = 0;    // 0 keyed, 2 non-keyed, ...
    int blockSizeBytes = 0;
    int headerSize = 0;
    int recordSize = 0;
    int codePage = 0;
    bool encrypted = false;
    std::uint32_t declaredRecords = 0;
    int blocksInUse = 0;
    int blocksInFile = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    int firstFreeBlock = 0;
    std::string tableName;
    std::string sortOrder;
};

struct FieldChange {
    int field; // index into fields()
    Value value;
};

class Table {
public:
    // Opens the table at dbPath, found as described above, with its .mb beside it.
    // Throws InUseError when the lock cannot be taken, Error for a missing, damaged or
    // encrypted table. A rollback journal left by a crashed writer is applied first.
    explicit Table(const std::filesystem::path& dbPath, const OpenOptions& options = {});
    ~Table();
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Creates an empty non-keyed level-7 table under exactly the name dbPath gives (and its
    // .mb, "db" turned into "mb" in the same case, when a field is a blob), replacing any
    // table of that name in any case, with its .mb and journal. New tables store text as
    // UTF-8 unless a code page is given. Fails with InUseError when a table it would replace
    // is open elsewhere.
    static void create(const std::filesystem::path& dbPath, const std::vector<FieldDef>& fields, int codePage = 65001);
    // Removes the table found for dbPath with its .mb and journal. A missing .db is an Error.
    static void remove(const std::filesystem::path& dbPath);
    // Moves each finished table `staged` (with its .mb) in place of the table `target`, replacing a
    // table of that name in any case with its .mb and journal. Every table to replace is locked
    // first: when one is open elsewhere (InUseError) nothing is moved. The staged tables must be
    // closed and in the targets' folders.
    struct Placement {
        std::filesystem::path staged;
        std::filesystem::path target;
    };
    static void putInPlace(const std::vector<Placement>& placements);
    // The companion blob file of dbPath as it exists on disk, in any case; when there is none,
    // the name create would give it.
    static std::filesystem::path blobPathFor(const std::filesystem::path& dbPath);
    // The table file dbPath names as it exists on disk, in any case; dbPath when none does.
    static std::filesystem::path pathOnDisk(const std::filesystem::path& dbPath);

    const std::filesystem::path& path() const; // as found on disk
    const TableInfo& info() const;
    const std::vector<FieldDef>& fields() const;
    int fieldIndex(std::string_view name) const; // case-insensitive; -1 when absent
    std::size_t recordCount() const;

    bool writable() const;
    std::string readOnlyReason() const; // empty when writable

    // Reading. Blob-type fields read the .mb; everything else comes from memory.
    Value value(std::size_t record, int field) const;
    bool isNull(std::size_t record, int field) const;
    std::string text(std::size_t record, int field) const;                    // alpha and memo; "" when empty
    std::optional<std::int64_t> integer(std::size_t record, int field) const; // short, long, autoinc
    std::optional<bool> logical(std::size_t record, int field) const;
    Bytes blob(std::size_t record, int field) const;               // any blob type; empty when empty
    std::uint32_t blobLength(std::size_t record, int field) const; // without reading the .mb
    // A binary value kept in a blob block of its own, as the stretch of the .mb that holds it,
    // for copying it file to file; nothing for other values (empty, in the record, in a shared
    // block, other field types). Checked as reading it is.
    std::optional<FileContent> blobInFile(std::size_t record, int field) const;

    // Writing. Each call is one crash-safe step. Values are checked against the field
    // types first; text is cut to an alpha field's size in bytes, never inside a
    // character; text the table's code page cannot hold is refused.
    void update(std::size_t record, const std::vector<FieldChange>& changes);
    std::size_t append(const std::vector<FieldChange>& values); // returns the new index
    void remove(std::size_t record);

    // Shared tables: re-reads the table when another handle changed it since it was read.
    // Returns whether anything was re-read.
    bool reloadIfChanged();

    // Structural check of .db and .mb: block chain, free list, blob pointers, block
    // headers. Returns one line per fault, each starting with the file it is in ("<path>: "):
    // the .mb for its blocks, the .db for its blocks and the blob pointers of its records.
    // Empty when sound.
    std::vector<std::string> check() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace paradox
