// Finding a table's files whatever the case of their names.
//
// Tables copied from old media have upper-case names (WIN.DB, WIN.MB) where the program asks
// for WIN.db and WIN.mb. A name the folder does not hold exactly is found among its files whose
// names differ only in the case of ASCII letters; other bytes must match as they are.
#pragma once

#include <filesystem>
#include <vector>

namespace paradox {

// The files of path's folder whose names equal path's name but for the case of ASCII letters,
// the exact name among them when present, in byte order of their names.
std::vector<std::filesystem::path> namesakes(const std::filesystem::path& path);

// path itself when it exists; otherwise its first namesake; otherwise path.
std::filesystem::path onDisk(const std::filesystem::path& path);

// The blob file name that goes with a table name: its extension "db" becomes "mb" in the same
// case (WIN.DB: WIN.MB, album.db: album.mb); any other extension is replaced by ".mb".
std::filesystem::path companionBlobName(const std::filesystem::path& dbPath);

} // namespace paradox
