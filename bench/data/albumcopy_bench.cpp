// Copying an album of 2 GB (600 pictures) with the album copy, against `cp -r` of its folder
// (the album's four files) in the same run. Each side is timed until its bytes are on disk
// (syncfs of the destination's file system). Prints the throughputs and their ratio next to
// the target (the album copy at least 0.8 times cp's throughput).
//
// Usage: albumcopy_bench [pictures [bytes-per-picture [rounds]]]
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/albumcopy.h"
#include "data/albumcreation.h"
#include "data/data.h"
#include "support/tempdir.h"
#include "timing.h"

namespace fs = std::filesystem;

namespace {

void syncFileSystemOf(const fs::path& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0 || ::syncfs(fd) != 0) {
        std::perror("syncfs");
        std::exit(1);
    }
    ::close(fd);
}

// Bytes that do not compress, different for each picture.
paradox::Bytes pictureBytes(std::size_t size, unsigned seed)
{
    paradox::Bytes bytes(size);
    unsigned state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

std::uintmax_t folderBytes(const fs::path& dir)
{
    std::uintmax_t total = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        total += entry.file_size();
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 600;
    const std::size_t pictureSize = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 3579139; // 600 of them: 2 GiB
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 2;
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.str().c_str(), 1);
    TempDir work;
    const fs::path source = work / "album";
    fs::create_directory(source);

    createAlbumTables(source.string(), "big");
    {
        TTable table;
        table.setDatabaseName(source.string());
        table.setTableName("big.db");
        table.open();
        for (int n = 0; n < pictures; ++n) {
            table.append();
            table.fieldByName("NAAM").setAsString("picture " + std::to_string(n));
            table.fieldByName("FOTO").setAsBytes(pictureBytes(pictureSize, static_cast<unsigned>(n)));
            table.refresh();
        }
    }
    syncFileSystemOf(source);
    const double megabytes = static_cast<double>(folderBytes(source)) / 1e6;
    std::printf("album of %d pictures, %.0f MB in its four files\n", pictures, megabytes);

    std::vector<double> cpTimes;
    std::vector<double> copyTimes;
    const fs::path cpTarget = work / "cp-copy";
    const fs::path copyTarget = work / "album-copy";
    const std::string cpCommand = "cp -r '" + source.string() + "' '" + cpTarget.string() + "'";
    Tdb db;
    for (int round = 0; round < rounds; ++round) {
        fs::remove_all(cpTarget);
        syncFileSystemOf(work.path());
        cpTimes.push_back(milliseconds([&] {
            if (std::system(cpCommand.c_str()) != 0) {
                std::fprintf(stderr, "cp failed\n");
                std::exit(1);
            }
            syncFileSystemOf(cpTarget);
        }));
        fs::remove_all(cpTarget);

        fs::remove_all(copyTarget);
        fs::create_directory(copyTarget);
        syncFileSystemOf(work.path());
        copyTimes.push_back(milliseconds([&] {
            copyAlbum(db, {source.string(), "big"}, copyTarget.string(), [](int) { return true; });
            syncFileSystemOf(copyTarget);
        }));
        fs::remove_all(copyTarget);
    }
    const double cpRate = megabytes / (median(cpTimes) / 1000);
    const double copyRate = megabytes / (median(copyTimes) / 1000);
    std::printf("%-40s %9.0f ms  %7.1f MB/s\n", "cp -r of the album's folder", median(cpTimes), cpRate);
    std::printf("%-40s %9.0f ms  %7.1f MB/s\n", "album copy (three tables, staged)", median(copyTimes), copyRate);
    std::printf("ratio %.2f of cp's throughput   target >= 0.80  %s\n", copyRate / cpRate,
                copyRate >= 0.8 * cpRate ? "met" : "MISSED");
    return 0;
}
