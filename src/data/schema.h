// The persistent schema of an album (a DatabaseSet: picture, category and settings tables
// sharing one base name in one directory) and of the application settings table reg.db.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "data/tfielddef.h"
#include "paradox/field.h"

namespace schema {

TFieldDefs pictureTableFields();     // FOTO, MEMO, NAAM, PASSEND, CONTRAST, MARK, 1..24
TFieldDefs categoryTableFields();    // 1..24, 15 characters each
TFieldDefs settingsTableFields();    // PASWOORD .. AN SPEED
TFieldDefs appSettingsTableFields(); // X, Y, DX, DY, AUTO-OPEN, DATABASE, PATH

// The values of the one settings record written when an album is created, in the order
// they are written. AN SOORT, AN ENABLE and AN SPEED are left empty.
std::vector<std::pair<std::string, paradox::Value>> settingsAtCreation();

// Table names (without directory) of the album with base name `base`.
std::string pictureTableName(const std::string& base);  // base.db
std::string categoryTableName(const std::string& base); // base1.db
std::string settingsTableName(const std::string& base); // base2.db
std::string blobFileName(const std::string& base);      // base.mb

inline constexpr const char* appSettingsTableName = "reg.db";
inline constexpr int categoryCount = 24;
inline constexpr int categoryNameSize = 15;
// DATABASE and PATH of a new reg.db: the most an alpha field holds, room for a deep folder.
// A reg.db made earlier may have smaller ones (80); their size is the field's to tell.
inline constexpr int albumLocationFieldSize = 255;

struct AlbumLocation {
    std::string directory; // without a trailing separator
    std::string baseName;
};

// Splits a chosen file path (the album's .mb): cut at the last dot, then at the last
// directory separator before it. A path without either is refused with a DatabaseError.
AlbumLocation splitChosenPath(const std::string& path);

// The base name to remember for a picture table name: the name without its extension.
std::string baseNameOfPictureTable(const std::string& tableName);

} // namespace schema
