// Measures, side by side in one run:
//  - appending pictures of 3 MB to an album table, against `cp` copying the same bytes
//    (target: at least 0.8 times cp's throughput), from memory, read from their files, and
//    copied straight from their files (FileContent);
//  - opening a 10,000-record album whose blob file is a 20 GB sparse file and reading its
//    first record (target: at most 50 ms).
#include "paradox/table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using paradox::Bytes;

constexpr std::size_t pictureSize = 3 << 20;

struct Settings {
    int pictures = 1000;
    int records = 10'000;
    int rounds = 3;
    fs::path dir = fs::temp_directory_path();
};

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Bytes that neither compress nor repeat within a picture.
Bytes pseudoPicture(std::uint64_t seed)
{
    Bytes bytes(pictureSize);
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        std::memcpy(bytes.data() + i, &x, 8);
    }
    return bytes;
}

void settle()
{
    // Start every timed phase with no dirty pages waiting, so one phase's writeback does not
    // slow the next. Each timed phase also ends with a sync: it is measured until its bytes are
    // on disk, so how much the page cache happens to hold back does not decide the figure.
    ::sync();
}

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

std::vector<paradox::FieldDef> albumFields()
{
    std::vector<paradox::FieldDef> fields = {paradox::binaryField("FOTO"),      paradox::memoField("MEMO"),
                                             paradox::alphaField("NAAM", 40),   paradox::logicalField("PASSEND"),
                                             paradox::logicalField("CONTRAST"), paradox::logicalField("MARK")};
    for (int category = 1; category <= 24; ++category)
        fields.push_back(paradox::logicalField(std::to_string(category)));
    return fields;
}

// A record of the album; its picture is moved in, so appending costs no copy of it.
std::vector<paradox::FieldChange> albumRecord(int number, Bytes picture)
{
    std::vector<paradox::FieldChange> values;
    values.push_back({0, std::move(picture)});
    values.push_back({1, "Memo " + std::to_string(number)});
    values.push_back({2, "Foto " + std::to_string(number)});
    for (int field = 3; field < 30; ++field) {
        paradox::FieldChange& flag = values.emplace_back();
        flag.field = field;
        flag.value = (number + field) % 5 == 0;
    }
    return values;
}

Bytes& pictureOf(std::vector<paradox::FieldChange>& record)
{
    return std::get<Bytes>(record[0].value);
}

class AppendBench {
public:
    explicit AppendBench(const Settings& settings) : settings_(settings), work_(settings.dir / "kadrix-bench-append")
    {
        fs::remove_all(work_);
        fs::create_directories(work_ / "pictures");
        for (std::uint64_t i = 0; i < 8; ++i)
            records_.push_back(albumRecord(0, pseudoPicture(i)));
        fileRecord_ = albumRecord(0, {});
        for (int i = 0; i < settings_.pictures; ++i) {
            const Bytes& picture = nextPicture(i);
            std::ofstream(picturePath(i), std::ios::binary)
                .write(reinterpret_cast<const char*>(picture.data()), static_cast<std::streamsize>(picture.size()));
        }
    }
    ~AppendBench() { fs::remove_all(work_); }

    double copySeconds()
    {
        settle();
        const auto start = Clock::now();
        run("cp -r '" + (work_ / "pictures").string() + "' '" + (work_ / "copy").string() + "'");
        ::sync();
        const double elapsed = seconds(start);
        fs::remove_all(work_ / "copy");
        return elapsed;
    }

    double appendSeconds()
    {
        return timeAppends([&](int i) -> std::vector<paradox::FieldChange>& {
            nextPicture(i);
            return records_[static_cast<std::size_t>(i) % records_.size()];
        });
    }

    double importSeconds()
    {
        return timeAppends([&](int i) -> std::vector<paradox::FieldChange>& {
            auto& record = records_.front();
            std::ifstream(picturePath(i), std::ios::binary)
                .read(reinterpret_cast<char*>(pictureOf(record).data()), static_cast<std::streamsize>(pictureSize));
            return record;
        });
    }

    double fromFileSeconds()
    {
        return timeAppends([&](int i) -> std::vector<paradox::FieldChange>& {
            fileRecord_[0].value = paradox::FileContent{picturePath(i), 0, std::nullopt};
            return fileRecord_;
        });
    }

private:
    fs::path picturePath(int i) const { return work_ / "pictures" / (std::to_string(i) + ".jpg"); }

    // Every picture differs: the pool's pictures take the picture number in their first bytes.
    const Bytes& nextPicture(int i)
    {
        Bytes& picture = pictureOf(records_[static_cast<std::size_t>(i) % records_.size()]);
        std::memcpy(picture.data(), &i, sizeof i);
        return picture;
    }

    template <typename Source> double timeAppends(Source recordFor)
    {
        const fs::path db = work_ / "album.db";
        paradox::Table::create(db, albumFields());
        settle();
        const auto start = Clock::now();
        {
            paradox::Table table(db);
            for (int i = 0; i < settings_.pictures; ++i)
                table.append(recordFor(i));
        }
        ::sync();
        const double elapsed = seconds(start);
        paradox::Table::remove(db);
        return elapsed;
    }

    const Settings& settings_;
    fs::path work_;
    std::vector<std::vector<paradox::FieldChange>> records_;
    std::vector<paradox::FieldChange> fileRecord_;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void appendVersusCopy(const Settings& settings)
{
    AppendBench bench(settings);
    std::vector<double> copies, appends, imports, fromFiles;
    // Several rounds, each running the kinds in a different order, so that the clean-up of one
    // phase (deleting gigabytes) or a burst of disk writeback slows every kind alike.
    const std::function<void()> phases[] = {
        [&] { copies.push_back(bench.copySeconds()); }, [&] { appends.push_back(bench.appendSeconds()); },
        [&] { imports.push_back(bench.importSeconds()); }, [&] { fromFiles.push_back(bench.fromFileSeconds()); }};
    constexpr int kinds = static_cast<int>(std::size(phases));
    for (int round = 0; round < settings.rounds; ++round) {
        for (int phase = 0; phase < kinds; ++phase)
            phases[(round + phase) % kinds]();
        std::printf("  round %d: cp %.2f s, append %.2f s, read and append %.2f s, append from files %.2f s\n",
                    round + 1, copies.back(), appends.back(), imports.back(), fromFiles.back());
    }
    const double megabytes = static_cast<double>(settings.pictures) * pictureSize / (1 << 20);
    const double cp = median(copies);
    std::printf("Appending %d pictures of 3 MB (%.0f MB), median of %d rounds\n", settings.pictures, megabytes,
                settings.rounds);
    std::printf("  cp -r of the same files        %7.2f s  %6.0f MB/s\n", cp, megabytes / cp);
    std::printf("  append from memory             %7.2f s  %6.0f MB/s  ratio to cp %.2f (target >= 0.80)\n",
                median(appends), megabytes / median(appends), cp / median(appends));
    std::printf("  read each file, then append    %7.2f s  %6.0f MB/s  ratio to cp %.2f\n", median(imports),
                megabytes / median(imports), cp / median(imports));
    std::printf("  append from files (FileContent)%7.2f s  %6.0f MB/s  ratio to cp %.2f (target >= 0.80)\n",
                median(fromFiles), megabytes / median(fromFiles), cp / median(fromFiles));
}

// Drops the page cache so the next opening reads from disk; false when not permitted.
bool dropPageCache()
{
    ::sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    control << "3" << std::endl;
    return static_cast<bool>(control);
}

// Times opening the table and reading its first record; sorted, empty when cold runs are
// not possible.
std::vector<double> timeOpenings(const fs::path& db, int records, int runs, bool cold)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        if (cold && !dropPageCache())
            return {};
        const auto start = Clock::now();
        paradox::Table table(db);
        std::size_t bytes = table.blob(0, 0).size();
        for (int field = 1; field < static_cast<int>(table.fields().size()); ++field)
            bytes += table.isNull(0, field) ? 0 : 1;
        times.push_back(seconds(start) * 1000);
        if (table.recordCount() != static_cast<std::size_t>(records) || bytes == 0)
            std::exit(1);
    }
    std::sort(times.begin(), times.end());
    return times;
}

void openLargeAlbum(const Settings& settings)
{
    const fs::path work = settings.dir / "kadrix-bench-open";
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path db = work / "album.db";
    paradox::Table::create(db, albumFields());
    {
        paradox::Table table(db);
        auto record = albumRecord(0, Bytes(3000));
        for (int i = 0; i < settings.records; ++i) {
            std::memcpy(pictureOf(record).data(), &i, sizeof i);
            table.append(record);
        }
    }
    // A blob file far past what its offsets address; opening must not read it.
    fs::resize_file(paradox::Table::blobPathFor(db), 20ull << 30);
    settle();

    const auto warm = timeOpenings(db, settings.records, 21, false);
    const auto cold = timeOpenings(db, settings.records, 5, true);
    fs::remove_all(work);
    std::printf("Opening a %d-record album with a 20 GB sparse blob file and reading its first record\n",
                settings.records);
    std::printf("  warm cache: median %.2f ms, slowest %.2f ms of %zu runs (target <= 50 ms)\n", median(warm),
                warm.back(), warm.size());
    if (cold.empty())
        std::printf("  cold cache: not measured (dropping the page cache needs root)\n");
    else
        std::printf("  cold cache: median %.2f ms, slowest %.2f ms of %zu runs\n", median(cold), cold.back(),
                    cold.size());
}

Settings parse(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--pictures")
            settings.pictures = std::stoi(argv[i + 1]);
        else if (option == "--records")
            settings.records = std::stoi(argv[i + 1]);
        else if (option == "--rounds")
            settings.rounds = std::max(1, std::stoi(argv[i + 1]));
        else if (option == "--dir")
            settings.dir = argv[i + 1];
        else {
            std::fprintf(stderr, "usage: paradox_bench [--pictures N] [--records N] [--rounds N] [--dir FOLDER]\n");
            std::exit(2);
        }
    }
    return settings;
}

} // namespace

int main(int argc, char** argv)
{
    const Settings settings = parse(argc, argv);
    openLargeAlbum(settings);
    appendVersusCopy(settings);
}
