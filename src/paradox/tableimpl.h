// The state behind a Table handle and the steps its public calls are made of.
#pragma once

#include "paradox/blobfile.h"
#include "paradox/blobspace.h"
#include "paradox/codepage.h"
#include "paradox/datablocks.h"
#include "paradox/header.h"
#include "paradox/posixfile.h"
#include "paradox/table.h"
#include "paradox/transaction.h"

#include <memory>
#include <mutex>
#include <optional>

namespace paradox {

class Table::Impl {
public:
    Impl(const std::filesystem::path& dbPath, const OpenOptions& options);

    // Opening and following other handles (tableopen.cpp).
    bool reloadIfChanged();

    // Reading (tableread.cpp).
    void checkPlace(std::size_t record, int field) const;
    std::span<const std::uint8_t> fieldBytes(std::size_t record, int field) const;
    Value value(std::size_t record, int field) const;
    bool isNull(std::size_t record, int field) const;
    Bytes blob(std::size_t record, int field) const;
    std::uint32_t blobLength(std::size_t record, int field) const;
    std::optional<FileContent> blobInFile(std::size_t record, int field) const;
    [[noreturn]] void wrongKind(int field, std::string_view expected) const;

    // Writing (tablewrite.cpp).
    void update(std::size_t record, const std::vector<FieldChange>& changes);
    std::size_t append(const std::vector<FieldChange>& values);
    void remove(std::size_t record);

    // Checking (tablecheck.cpp).
    std::vector<std::string> check() const;

    std::filesystem::path path_;
    OpenOptions options_;
    PosixFile db_;
    std::unique_ptr<BlobFile> blobs_;
    Header header_;
    Bytes headerBytes_;
    std::unique_ptr<CodePage> codePage_;
    std::vector<FieldDef> fields_;
    std::vector<std::size_t> fieldOffsets_;
    std::optional<DataBlocks> blocks_;
    std::optional<BlobSpace> space_;
    TableInfo info_;
    std::string readOnlyReason_;

private:
    struct Stamp {
        PosixFile::Stamp table;
        PosixFile::Stamp blobs;
        std::uint8_t changeCount = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    // tableopen.cpp
    void recoverCrashedChange();
    // With the write lock held: undoes what a writer that died mid-change left (its journal);
    // true when there was such a change. The caller reloads.
    bool undoLeftChange();
    void load();
    void describe();
    void describeCounters();
    std::string whyReadOnly() const;
    Stamp currentStamp() const;

    // tableread.cpp
    Bytes blobData(std::size_t record, int field) const;
    std::string describeField(std::size_t record, int field) const;

    // tablewrite.cpp
    template <typename Body> void change(std::optional<std::size_t> record, Body body);
    void followOtherWriters(std::optional<std::size_t> record);
    void recoverAfterFailure();
    void assign(Bytes& record, const FieldChange& change, Transaction& transaction);
    void releaseBlob(std::span<const std::uint8_t> record, std::size_t field, Transaction& transaction);
    void storeBlob(std::span<std::uint8_t> field, std::span<const std::uint8_t> value, Transaction& transaction);
    void storeFileBlob(std::span<std::uint8_t> field, const FileContent& content, Transaction& transaction);
    BlobSpace& space();
    void writeHeader(Transaction& transaction);

    Stamp stamp_;
    // Shared handles lock the table while they read a blob; threads of one handle take turns.
    mutable std::mutex blobReadMutex_;
};

} // namespace paradox
