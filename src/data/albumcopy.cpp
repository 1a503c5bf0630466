#include "data/albumcopy.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "data/data.h"
#include "data/databaseerror.h"

namespace fs = std::filesystem;

namespace {

// Removes the staged tables unless they were put in place.
class StagedTables {
public:
    explicit StagedTables(std::array<TTable*, 3> tables) : tables_(tables) {}
    ~StagedTables()
    {
        if (placed_)
            return;
        for (TTable* table : tables_) {
            std::error_code missing;
            if (!fs::exists(paradox::Table::pathOnDisk(table->filePath()), missing))
                continue;
            try {
                table->deleteTable();
            } catch (const std::exception& error) {
                // The copy's own error is the one the user needs; a staged table left behind is
                // hidden and replaced by the next copy.
                std::fprintf(stderr, "Kadrix: a staged copy could not be removed: %s\n", error.what());
            }
        }
    }
    StagedTables(const StagedTables&) = delete;
    StagedTables& operator=(const StagedTables&) = delete;
    void placed() { placed_ = true; }

private:
    std::array<TTable*, 3> tables_;
    bool placed_ = false;
};

// The batch copy tells `progress` for as long as this lives.
class ProgressTold {
public:
    ProgressTold(TBatchMove& move, std::function<bool(int, int)> progress) : move_(move)
    {
        move_.onProgress = std::move(progress);
    }
    ~ProgressTold() { move_.onProgress = nullptr; }
    ProgressTold(const ProgressTold&) = delete;
    ProgressTold& operator=(const ProgressTold&) = delete;

private:
    TBatchMove& move_;
};

} // namespace

bool sameFolder(const std::string& first, const std::string& second)
{
    std::error_code missing;
    return fs::equivalent(first, second, missing);
}

std::string stagedBaseName(const std::string& baseName)
{
    return ".kadrix-copy-" + baseName;
}

void copyAlbum(Tdb& db, const schema::AlbumLocation& source, const std::string& destinationDirectory,
               const std::function<bool(int percent)>& progress)
{
    if (sameFolder(source.directory, destinationDirectory))
        throw DatabaseError("The album " + source.baseName + " cannot be copied into its own folder " +
                            destinationDirectory);
    std::array<TTable, 3> sources;
    const std::array<std::string, 3> names{schema::pictureTableName(source.baseName),
                                           schema::categoryTableName(source.baseName),
                                           schema::settingsTableName(source.baseName)};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        sources[i].setTableType(TTableType::ttParadox);
        sources[i].setExclusive(true);
        sources[i].setDatabaseName(source.directory);
        sources[i].setTableName(names[i]);
    }
    const std::array<TTable*, 3> copies{&db.copy1, &db.copy2, &db.copy3};
    db.pointCopiesAt(destinationDirectory, stagedBaseName(source.baseName));
    StagedTables staged(copies);

    // The picture table holds nearly all the bytes; the other two are a record or two.
    const ProgressTold told(db.BatchMove1, [&progress](int copied, int total) { return progress(copied * 100 / total); });
    for (std::size_t i = 0; i < copies.size(); ++i) {
        db.BatchMove1.setMode(TBatchMode::batCopy);
        db.BatchMove1.setSource(&sources[i]);
        db.BatchMove1.setDestination(copies[i]);
        db.BatchMove1.execute();
    }

    std::vector<paradox::Table::Placement> placements;
    for (std::size_t i = 0; i < copies.size(); ++i)
        placements.push_back({copies[i]->filePath(), fs::path(destinationDirectory) / names[i]});
    paradox::Table::putInPlace(placements);
    staged.placed();
    db.pointCopiesAt(destinationDirectory, source.baseName);
}
