#include "data/schema.h"

#include <filesystem>

#include "data/databaseerror.h"

namespace schema {

namespace {

void addCategoryFlags(TFieldDefs& fields)
{
    for (int n = 1; n <= categoryCount; ++n)
        fields.push_back({std::to_string(n), TFieldType::ftBoolean});
}

bool isSeparator(char c)
{
    return c == '/' || c == static_cast<char>(std::filesystem::path::preferred_separator);
}

} // namespace

TFieldDefs pictureTableFields()
{
    TFieldDefs fields{
        {"FOTO", TFieldType::ftBlob, 1},    {"MEMO", TFieldType::ftMemo, 1},     {"NAAM", TFieldType::ftString, 40},
        {"PASSEND", TFieldType::ftBoolean}, {"CONTRAST", TFieldType::ftBoolean}, {"MARK", TFieldType::ftBoolean},
    };
    addCategoryFlags(fields);
    return fields;
}

TFieldDefs categoryTableFields()
{
    TFieldDefs fields;
    for (int n = 1; n <= categoryCount; ++n)
        fields.push_back({std::to_string(n), TFieldType::ftString, categoryNameSize});
    return fields;
}

TFieldDefs settingsTableFields()
{
    return {
        {"PASWOORD", TFieldType::ftString, 15},
        {"PW", TFieldType::ftBoolean},
        {"CENTER", TFieldType::ftBoolean},
        {"PASSEND", TFieldType::ftBoolean},
        {"TITEL", TFieldType::ftBoolean},
        {"DELAY", TFieldType::ftInteger},
        {"KEY", TFieldType::ftInteger},
        {"JPG QUALITY", TFieldType::ftInteger},
        {"JPG SMOOTH", TFieldType::ftInteger},
        {"PNG INTERLACE", TFieldType::ftString, 5},
        {"TIF COMPRESSION", TFieldType::ftString, 10},
        {"PCD MODE", TFieldType::ftString, 10},
        {"AN SOORT", TFieldType::ftInteger},
        {"AN ENABLE", TFieldType::ftBoolean},
        {"AN SPEED", TFieldType::ftInteger},
    };
}

TFieldDefs appSettingsTableFields()
{
    return {
        {"X", TFieldType::ftSmallint},
        {"Y", TFieldType::ftSmallint},
        {"DX", TFieldType::ftSmallint},
        {"DY", TFieldType::ftSmallint},
        {"AUTO-OPEN", TFieldType::ftBoolean},
        {"DATABASE", TFieldType::ftString, albumLocationFieldSize},
        {"PATH", TFieldType::ftString, albumLocationFieldSize},
    };
}

std::vector<std::pair<std::string, paradox::Value>> settingsAtCreation()
{
    return {
        {"PASWOORD", paradox::Null{}},
        {"PW", false},
        {"CENTER", true},
        {"PASSEND", true},
        {"TITEL", false},
        {"DELAY", std::int64_t{20}},
        {"KEY", std::int64_t{0}},
        {"JPG QUALITY", std::int64_t{100}},
        {"JPG SMOOTH", std::int64_t{0}},
        {"PNG INTERLACE", std::string("No")},
        {"TIF COMPRESSION", std::string("LZW")},
        {"PCD MODE", std::string("Base 1")},
    };
}

std::string pictureTableName(const std::string& base)
{
    return base + ".db";
}

std::string categoryTableName(const std::string& base)
{
    return base + "1.db";
}

std::string settingsTableName(const std::string& base)
{
    return base + "2.db";
}

std::string blobFileName(const std::string& base)
{
    return base + ".mb";
}

AlbumLocation splitChosenPath(const std::string& path)
{
    // The extension is looked for in the file name alone: a dot in a folder name
    // ("photos.2020/holiday") must never cut the path inside that folder.
    std::size_t separator = std::string::npos;
    for (std::size_t i = path.size(); i-- > 0;) {
        if (isSeparator(path[i])) {
            separator = i;
            break;
        }
    }
    if (separator == std::string::npos)
        throw DatabaseError("'" + path + "' is not an album file: the path names no folder");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < separator)
        throw DatabaseError("'" + path + "' is not an album file: its name has no extension");
    AlbumLocation location{path.substr(0, separator), path.substr(separator + 1, dot - separator - 1)};
    // The root folder keeps its separator, otherwise it would name no folder at all.
    if (location.directory.empty())
        location.directory = path.substr(0, 1);
    if (location.baseName.empty())
        throw DatabaseError("'" + path + "' is not an album file: its name is only an extension");
    return location;
}

std::string baseNameOfPictureTable(const std::string& tableName)
{
    const std::size_t dot = tableName.rfind('.');
    return dot == std::string::npos ? tableName : tableName.substr(0, dot);
}

} // namespace schema
