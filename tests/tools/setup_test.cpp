// kadrix-setup: the settings table made once, and the sample album a new user starts with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "data/schema.h"
#include "data/ttable.h"
#include "helpers/pxoracle.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

class SetupTest : public ::testing::Test {
protected:
    int runSetup(const std::string& arguments = {})
    {
        const std::string command = "XDG_CONFIG_HOME='" + config.str() + "' XDG_DATA_HOME='" + data.str() +
                                    "' QT_QPA_PLATFORM=offscreen '" KADRIX_BINARY_DIR
                                    "/tools/kadrix-setup/kadrix-setup' " +
                                    arguments + " > /dev/null 2>&1";
        return std::system(command.c_str());
    }
    void openTable(TTable& table, const fs::path& folder, const std::string& name)
    {
        table.setDatabaseName(folder.string());
        table.setTableName(name);
        table.open();
    }
    fs::path regDbFolder() const { return config.path() / "kadrix"; }
    TempDir config;
    TempDir data;
};

} // namespace

TEST_F(SetupTest, CreatesTheSettingsTableWithItsOneRecordOnceOnly)
{
    ASSERT_EQ(runSetup(), 0);
    {
        TTable reg;
        openTable(reg, regDbFolder(), "reg.db");
        ASSERT_EQ(reg.recordCount(), 1);
        EXPECT_EQ(reg.fieldByName("X").asInteger(), 264);
        EXPECT_EQ(reg.fieldByName("Y").asInteger(), 52);
        EXPECT_EQ(reg.fieldByName("DX").asInteger(), 742);
        EXPECT_EQ(reg.fieldByName("DY").asInteger(), 630);
        EXPECT_FALSE(reg.fieldByName("AUTO-OPEN").asBoolean());
        EXPECT_EQ(reg.fieldByName("DATABASE").asString(), "");
        EXPECT_EQ(reg.fieldByName("PATH").asString(), "");
        reg.edit();
        reg.fieldByName("X").setAsInteger(10);
        reg.refresh();
    }
    ASSERT_EQ(runSetup("--sample"), 0);
    TTable reg;
    openTable(reg, regDbFolder(), "reg.db");
    EXPECT_EQ(reg.fieldByName("X").asInteger(), 10) << "an existing reg.db is never touched";
    EXPECT_FALSE(fs::exists(data.path() / "kadrix")) << "no sample album for a user who has settings";
}

TEST_F(SetupTest, TheSampleAlbumIsOpenedAtTheFirstStart)
{
    ASSERT_EQ(runSetup("--sample"), 0);
    TTable reg;
    openTable(reg, regDbFolder(), "reg.db");
    EXPECT_TRUE(reg.fieldByName("AUTO-OPEN").asBoolean());
    const fs::path album = reg.fieldByName("PATH").asString();
    const std::string base = reg.fieldByName("DATABASE").asString();
    TTable pictures, categories, settings;
    openTable(pictures, album, schema::pictureTableName(base));
    openTable(categories, album, schema::categoryTableName(base));
    openTable(settings, album, schema::settingsTableName(base));
    EXPECT_GE(pictures.recordCount(), 10);
    int marked = 0;
    for (pictures.first(); !pictures.eof(); pictures.next()) {
        const paradox::Bytes picture = pictures.fieldByName("FOTO").asBytes();
        ASSERT_GT(picture.size(), 1000u);
        const bool jpeg = picture[0] == 0xFF && picture[1] == 0xD8;
        const bool png = picture[0] == 0x89 && picture[1] == 'P';
        EXPECT_TRUE(jpeg || png);
        EXPECT_FALSE(pictures.fieldByName("MEMO").asString().empty());
        marked += pictures.fieldByName("MARK").asBoolean() ? 1 : 0;
    }
    EXPECT_GT(marked, 0);
    EXPECT_EQ(categories.fieldByName("1").asString(), "Holiday");
    EXPECT_EQ(settings.fieldByName("DELAY").asInteger(), 20);
    EXPECT_EQ(runSetup("--bogus"), 2 << 8) << "a wrong option is a usage error";
}

TEST_F(SetupTest, AnExistingSampleAlbumIsKeptWhenTheSettingsAreMadeAgain)
{
    ASSERT_EQ(runSetup("--sample"), 0);
    fs::path album;
    int pictureCount = 0;
    {
        TTable reg;
        openTable(reg, regDbFolder(), "reg.db");
        album = reg.fieldByName("PATH").asString();
        TTable pictures;
        openTable(pictures, album, schema::pictureTableName(reg.fieldByName("DATABASE").asString()));
        pictures.last();
        pictures.edit();
        pictures.fieldByName("MEMO").setAsString("my own words");
        pictures.refresh();
        pictureCount = pictures.recordCount();
    }
    fs::remove(regDbFolder() / "reg.db");
    ASSERT_EQ(runSetup("--sample"), 0);
    TTable reg;
    openTable(reg, regDbFolder(), "reg.db");
    EXPECT_TRUE(reg.fieldByName("AUTO-OPEN").asBoolean());
    EXPECT_EQ(fs::path(reg.fieldByName("PATH").asString()), album);
    TTable pictures;
    openTable(pictures, album, schema::pictureTableName(reg.fieldByName("DATABASE").asString()));
    EXPECT_EQ(pictures.recordCount(), pictureCount);
    pictures.last();
    EXPECT_EQ(pictures.fieldByName("MEMO").asString(), "my own words");
}

TEST_F(SetupTest, TheSettingsTableRemembersAnAlbumInADeepFolderWholeForEveryReader)
{
    ASSERT_EQ(runSetup(), 0);
    const std::string deepFolder = data.str() + "/" + std::string(120, 'f') + "/Pictures/" + std::string(60, 'y');
    ASSERT_GT(deepFolder.size(), 200u);
    {
        TTable reg;
        openTable(reg, regDbFolder(), "reg.db");
        reg.edit();
        reg.fieldByName("PATH").setAsString(deepFolder);
        reg.fieldByName("DATABASE").setAsString("Holiday");
        reg.refresh();
    }
    TTable reg;
    openTable(reg, regDbFolder(), "reg.db");
    EXPECT_EQ(reg.fieldByName("PATH").asString(), deepFolder);
    reg.close();

    TempDir scratch;
    const auto oracle = paradox::test::readWithPxlib(regDbFolder() / "reg.db", scratch.path());
    EXPECT_THAT(oracle.errors, ::testing::IsEmpty());
    ASSERT_EQ(oracle.fields.size(), 7u);
    ASSERT_EQ(oracle.records.size(), 1u);
    for (std::size_t field : {5u, 6u}) {
        EXPECT_EQ(oracle.fields[field].size, 255) << oracle.fields[field].name;
    }
    const auto& path = std::get<paradox::Bytes>(oracle.records[0][6]);
    EXPECT_EQ(paradox::test::toUtf8(path, 65001), deepFolder);
}
