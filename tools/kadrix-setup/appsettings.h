// The application settings table reg.db, made once per user before the program first runs.
#pragma once

#include <filesystem>
#include <string>

// Creates reg.db with its one record (window at 264, 52, size 742 × 630, no album to open)
// in `directory` when it is missing. Returns whether it was created; an existing reg.db
// is never touched.
bool createAppSettings(const std::filesystem::path& directory);

// Points reg.db at the album in `albumDirectory` with base name `baseName` and turns
// automatic opening on.
void rememberAlbum(const std::filesystem::path& directory, const std::string& albumDirectory,
                   const std::string& baseName);
