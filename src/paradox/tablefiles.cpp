// Creating, removing and finding the files of a table.
#include "paradox/blobformat.h"
#include "paradox/codepage.h"
#include "paradox/error.h"
#include "paradox/failure.h"
#include "paradox/fieldrules.h"
#include "paradox/filenames.h"
#include "paradox/filelock.h"
#include "paradox/header.h"
#include "paradox/journal.h"
#include "paradox/table.h"

#include <system_error>

namespace paradox {

namespace {

void removeIfPresent(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error)
        fail(path, "cannot delete the file: " + error.message());
}

// The name stored in the header is informational (readers go by the file name), so characters
// the code page cannot hold are replaced rather than refusing the table.
Bytes headerTableName(const std::filesystem::path& dbPath, const CodePage& codePage)
{
    std::string name = dbPath.filename().string();
    try {
        return codePage.encode(name);
    } catch (const Error&) {
        for (char& c : name) {
            if (static_cast<unsigned char>(c) >= 0x80)
                c = '_';
        }
        return codePage.encode(name);
    }
}

// Holds the exclusive locks of existing tables while they are replaced or removed.
std::vector<PosixFile> lockExisting(const std::vector<std::filesystem::path>& tables)
{
    std::vector<PosixFile> locked;
    for (const auto& path : tables) {
        if (auto file = PosixFile::openExisting(path)) {
            takeOpenLock(*file, Lock::Exclusive);
            locked.push_back(std::move(*file));
        }
    }
    return locked;
}

// Whether removing old would remove current: on a file system that ignores case, WIN.DB and
// WIN.db are one file.
bool sameFile(const std::filesystem::path& old, const std::filesystem::path& current)
{
    std::error_code error;
    return std::filesystem::equivalent(old, current, error);
}

void writeReplacement(const std::filesystem::path& target, std::span<const std::uint8_t> content)
{
    std::filesystem::path temporary = target;
    temporary += ".new";
    std::error_code ignored;
    if (!std::filesystem::is_directory(target.parent_path().empty() ? "." : target.parent_path(), ignored))
        fail(target, "its folder does not exist");
    try {
        PosixFile::create(temporary).writeAt(0, content);
    } catch (const Error& error) {
        // The file the caller asked for is the one to name, not the temporary beside it.
        removeIfPresent(temporary);
        std::string text = error.what();
        if (text.starts_with(temporary.string()))
            text.replace(0, temporary.string().size(), target.string());
        throw Error(text);
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        removeIfPresent(temporary);
        fail(target, "cannot put the new file in place: " + error.message());
    }
}

} // namespace

std::filesystem::path Table::blobPathFor(const std::filesystem::path& dbPath)
{
    return onDisk(companionBlobName(dbPath));
}

std::filesystem::path Table::pathOnDisk(const std::filesystem::path& dbPath)
{
    return onDisk(dbPath);
}

void Table::create(const std::filesystem::path& dbPath, const std::vector<FieldDef>& fields, int codePage)
{
    checkNewFields(fields, dbPath);
    const CodePage encoding(codePage, dbPath);
    std::vector<RawField> raw;
    bool hasBlobs = false;
    for (const FieldDef& field : fields) {
        const std::uint8_t descriptorSize = static_cast<std::uint8_t>(field.size);
        raw.push_back({field.type, field.size, descriptorSize, encoding.encode(field.name)});
        hasBlobs = hasBlobs || isBlobType(field.type);
    }
    const Bytes header = buildHeader(raw, headerTableName(dbPath, encoding), codePage);

    // A table whose name differs only in case is the table being replaced: left beside the new
    // one, a later open asking for yet another case could pick it, with a blob file of the other.
    const auto oldTables = namesakes(dbPath);
    const auto oldBlobFiles = namesakes(companionBlobName(dbPath));
    const auto locked = lockExisting(oldTables);
    // A journal of a table being replaced must never be applied to the new one.
    for (const auto& old : oldTables)
        removeIfPresent(Journal::pathFor(old));
    removeIfPresent(Journal::pathFor(dbPath));
    // The .db goes first: should this be interrupted, an empty table with a stale but sound
    // blob file opens fine, where a fresh blob file under old records would not.
    writeReplacement(dbPath, header);
    const std::filesystem::path blobPath = companionBlobName(dbPath);
    if (hasBlobs)
        writeReplacement(blobPath, newBlobFileHeader());
    for (const auto& old : oldBlobFiles) {
        if (!hasBlobs || (old != blobPath && !sameFile(old, blobPath)))
            removeIfPresent(old);
    }
    for (const auto& old : oldTables) {
        if (old != dbPath && !sameFile(old, dbPath))
            removeIfPresent(old);
    }
}

void Table::putInPlace(const std::vector<Placement>& placements)
{
    std::vector<std::vector<std::filesystem::path>> oldTables;
    std::vector<PosixFile> locked;
    for (const Placement& placement : placements) {
        oldTables.push_back(namesakes(placement.target));
        for (PosixFile& file : lockExisting(oldTables.back()))
            locked.push_back(std::move(file));
    }
    for (std::size_t i = 0; i < placements.size(); ++i) {
        const auto& [staged, target] = placements[i];
        for (const auto& old : oldTables[i])
            removeIfPresent(Journal::pathFor(old));
        const auto oldBlobFiles = namesakes(companionBlobName(target));
        // Two renames within one folder: no data is written here, so only an interruption
        // between them (not a full disk or a locked table) can part a .db from its .mb.
        const std::filesystem::path stagedBlobs = onDisk(companionBlobName(staged));
        const bool hasBlobs = std::filesystem::exists(stagedBlobs);
        const std::filesystem::path blobTarget = companionBlobName(target);
        std::error_code error;
        if (hasBlobs)
            std::filesystem::rename(stagedBlobs, blobTarget, error);
        if (!error)
            std::filesystem::rename(staged, target, error);
        if (error)
            fail(target, "cannot put the copied table in place: " + error.message());
        for (const auto& old : oldBlobFiles) {
            if (!hasBlobs || (old != blobTarget && !sameFile(old, blobTarget)))
                removeIfPresent(old);
        }
        for (const auto& old : oldTables[i]) {
            if (old != target && !sameFile(old, target))
                removeIfPresent(old);
        }
    }
}

void Table::remove(const std::filesystem::path& dbPath)
{
    const std::filesystem::path path = pathOnDisk(dbPath);
    const auto locked = lockExisting({path});
    if (locked.empty())
        fail(dbPath, "the table does not exist");
    removeIfPresent(path);
    removeIfPresent(Journal::pathFor(path));
    removeIfPresent(blobPathFor(path));
}

} // namespace paradox
