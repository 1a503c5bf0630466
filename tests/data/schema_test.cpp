#include <gtest/gtest.h>

#include "data/databaseerror.h"
#include "data/schema.h"

namespace {

std::vector<std::string> names(const TFieldDefs& defs)
{
    std::vector<std::string> result;
    for (const TFieldDef& def : defs)
        result.push_back(def.name);
    return result;
}

} // namespace

TEST(Schema, PictureTableFieldsInCreationOrder)
{
    const TFieldDefs fields = schema::pictureTableFields();
    ASSERT_EQ(fields.size(), 30u);
    const std::vector<std::string> fieldNames = names(fields);
    EXPECT_EQ(fieldNames[0], "FOTO");
    EXPECT_EQ(fields[0].type, TFieldType::ftBlob);
    EXPECT_EQ(fields[1].type, TFieldType::ftMemo);
    EXPECT_EQ(fields[2].name, "NAAM");
    EXPECT_EQ(fields[2].size, 40);
    EXPECT_EQ((std::vector<std::string>(fieldNames.begin() + 3, fieldNames.begin() + 7)),
              (std::vector<std::string>{"PASSEND", "CONTRAST", "MARK", "1"}));
    EXPECT_EQ(fields.back().name, "24");
    for (std::size_t i = 3; i < fields.size(); ++i)
        EXPECT_EQ(fields[i].type, TFieldType::ftBoolean) << fields[i].name;
}

TEST(Schema, SettingsTableFieldsAndValuesAtCreation)
{
    EXPECT_EQ(names(schema::settingsTableFields()),
              (std::vector<std::string>{"PASWOORD", "PW", "CENTER", "PASSEND", "TITEL", "DELAY", "KEY", "JPG QUALITY",
                                        "JPG SMOOTH", "PNG INTERLACE", "TIF COMPRESSION", "PCD MODE", "AN SOORT",
                                        "AN ENABLE", "AN SPEED"}));
    const auto values = schema::settingsAtCreation();
    ASSERT_EQ(values.size(), 12u);
    EXPECT_EQ(values.front().first, "PASWOORD");
    EXPECT_EQ(values.back(), (std::pair<std::string, paradox::Value>{"PCD MODE", std::string("Base 1")}));
    EXPECT_EQ(values[7].second, paradox::Value(std::int64_t{100}));
}

TEST(Schema, CategoryAndAppSettingsFields)
{
    const TFieldDefs categories = schema::categoryTableFields();
    ASSERT_EQ(categories.size(), 24u);
    EXPECT_EQ(categories[11].name, "12");
    EXPECT_EQ(categories[11].size, 15);
    EXPECT_EQ(names(schema::appSettingsTableFields()),
              (std::vector<std::string>{"X", "Y", "DX", "DY", "AUTO-OPEN", "DATABASE", "PATH"}));
}

TEST(Schema, TableNamesFromTheBaseName)
{
    EXPECT_EQ(schema::pictureTableName("album.2004"), "album.2004.db");
    EXPECT_EQ(schema::categoryTableName("album.2004"), "album.20041.db");
    EXPECT_EQ(schema::settingsTableName("Holiday"), "Holiday2.db");
    EXPECT_EQ(schema::baseNameOfPictureTable("album.2004.db"), "album.2004");
}

TEST(PathSplit, CutsAtTheLastDotThenAtTheLastSeparatorBeforeIt)
{
    auto split = [](const std::string& path) {
        const schema::AlbumLocation location = schema::splitChosenPath(path);
        return std::make_pair(location.directory, location.baseName);
    };
    EXPECT_EQ(split("/photos/Holiday.mb"), std::make_pair(std::string("/photos"), std::string("Holiday")));
    EXPECT_EQ(split("/photos/2001.trip.mb"), std::make_pair(std::string("/photos"), std::string("2001.trip")));
    EXPECT_EQ(split("/a.b/c/d.e.f.mb"), std::make_pair(std::string("/a.b/c"), std::string("d.e.f")));
    EXPECT_EQ(split("/Holiday.mb"), std::make_pair(std::string("/"), std::string("Holiday")));
}

TEST(PathSplit, RefusesPathsWithoutADotOrAFolder)
{
    EXPECT_THROW(schema::splitChosenPath("/photos/Holiday"), DatabaseError);
    EXPECT_THROW(schema::splitChosenPath("Holiday.mb"), DatabaseError);
    EXPECT_THROW(schema::splitChosenPath("/photos/.mb"), DatabaseError);
    EXPECT_THROW(schema::splitChosenPath(""), DatabaseError);
}

TEST(PathSplit, ADotInAFolderNameIsNeverTakenForTheExtension)
{
    // Cutting at that dot would name the tables photos.db, photos1.db and photos2.db of the
    // folder above: Delete would remove another album.
    EXPECT_THROW(schema::splitChosenPath("/home/u/photos.2020/holiday"), DatabaseError);
    EXPECT_THROW(schema::splitChosenPath("/home/u/photos.2020/"), DatabaseError);
    const schema::AlbumLocation location = schema::splitChosenPath("/home/u/photos.2020/holiday.mb");
    EXPECT_EQ(location.directory, "/home/u/photos.2020");
    EXPECT_EQ(location.baseName, "holiday");
}
