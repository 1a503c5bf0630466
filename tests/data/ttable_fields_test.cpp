// Reading and writing fields by name.
#include <gtest/gtest.h>

#include <fstream>

#include "albumfixture.h"
#include "data/databaseerror.h"

namespace {

class SettingsRecord : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setDatabaseName(dir.str());
        table.setTableName("s2.db");
        table.setExclusive(true);
        table.fieldDefs = schema::settingsTableFields();
        table.createTable();
        table.open();
    }
    TempDir dir;
    TTable table;
};

} // namespace

TEST_F(SettingsRecord, EmptyFieldsReadAsEmptyZeroAndFalse)
{
    table.edit();
    table.fieldByName("DELAY").setAsInteger(20);
    table.post();
    EXPECT_EQ(table.fieldByName("PASWOORD").asString(), "");
    EXPECT_EQ(table.fieldByName("JPG QUALITY").asInteger(), 0);
    EXPECT_EQ(table.fieldByName("JPG SMOOTH").asInteger(), 0);
    for (const char* flag : {"PW", "CENTER", "PASSEND", "TITEL"})
        EXPECT_FALSE(table.fieldByName(flag).asBoolean()) << flag;
    EXPECT_TRUE(table.fieldByName("PW").isNull());
    EXPECT_EQ(table.fieldByName("DELAY").asInteger(), 20);
}

TEST_F(SettingsRecord, FieldNamesAreFoundWhateverTheirCaseAndUnknownNamesFail)
{
    EXPECT_EQ(&table.fieldByName("jpg quality"), &table.fieldByName("JPG QUALITY"));
    EXPECT_THROW(table.fieldByName("NO SUCH FIELD"), DatabaseError);
    EXPECT_EQ(table.findField("NO SUCH FIELD"), nullptr);
}

TEST_F(SettingsRecord, TextIsCutToTheFieldSizeWhenStored)
{
    table.edit();
    table.fieldByName("PASWOORD").setAsString("abcdefghijklmnopqrst"); // 20 characters
    table.fieldByName("TIF COMPRESSION").setAsString("FAX CCITT4");
    table.refresh();
    EXPECT_EQ(table.fieldByName("PASWOORD").asString(), "abcdefghijklmno");
    EXPECT_EQ(table.fieldByName("TIF COMPRESSION").asString(), "FAX CCITT4");
}

TEST_F(SettingsRecord, TextIsCutWithoutSplittingACharacter)
{
    table.edit();
    // 7 two-byte letters and one more: the 15-byte field holds 7 of them whole.
    table.fieldByName("PASWOORD").setAsString("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");
    table.refresh();
    EXPECT_EQ(table.fieldByName("PASWOORD").asString(), "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");
}

TEST_F(SettingsRecord, IntegerFieldsRefuseTextAndOutOfRangeValues)
{
    table.edit();
    EXPECT_THROW(table.fieldByName("DELAY").setAsString("fast"), DatabaseError);
    EXPECT_THROW(table.fieldByName("DELAY").setAsString("12x"), DatabaseError);
    EXPECT_NO_THROW(table.fieldByName("DELAY").setAsString("-7"));
    EXPECT_EQ(table.fieldByName("DELAY").asInteger(), -7);
    EXPECT_THROW(table.fieldByName("DELAY").setValue(std::int64_t{1} << 40), DatabaseError);
}

TEST_F(SettingsRecord, WritingNeedsEditOrInsert)
{
    EXPECT_THROW(table.fieldByName("DELAY").setAsInteger(3), DatabaseError);
    table.edit(); // empty table: inserts
    EXPECT_EQ(table.state(), TDataSetState::dsInsert);
    EXPECT_NO_THROW(table.fieldByName("DELAY").setAsInteger(3));
}

TEST(AppSettings, SmallIntegersAreSixteenBit)
{
    TempDir dir;
    TTable reg;
    reg.setDatabaseName(dir.str());
    reg.setTableName("reg.db");
    reg.fieldDefs = schema::appSettingsTableFields();
    reg.createTable();
    reg.open();
    reg.edit();
    reg.fieldByName("X").setAsInteger(-300);
    EXPECT_THROW(reg.fieldByName("DX").setAsInteger(40000), DatabaseError);
    reg.refresh();
    EXPECT_EQ(reg.fieldByName("X").asInteger(), -300);
}

TEST(BlobFields, PicturesAreBytesAndMemosAreText)
{
    AlbumFixture album;
    TTable table;
    album.createPictures(table, 1);
    table.open();
    paradox::Bytes picture(10000);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<std::uint8_t>(i * 7);
    table.edit();
    table.fieldByName("FOTO").setAsBytes(picture);
    table.fieldByName("MEMO").setAsString("Zomer \u2600 aan zee");
    table.refresh();
    EXPECT_EQ(table.fieldByName("FOTO").asBytes(), picture);
    EXPECT_EQ(table.fieldByName("MEMO").asString(), "Zomer \u2600 aan zee");

    table.edit();
    table.fieldByName("FOTO").setAsBytes({});
    table.refresh();
    EXPECT_TRUE(table.fieldByName("FOTO").isNull());
}
TEST(AppSettings, TheAlbumLocationFieldsHoldADeepFolderAndTellTheirSize)
{
    TempDir dir;
    TTable reg;
    reg.setDatabaseName(dir.str());
    reg.setTableName("reg.db");
    reg.fieldDefs = schema::appSettingsTableFields();
    reg.createTable();
    reg.open();
    // What the program checks before it stores a location: text past the size would be cut.
    EXPECT_EQ(reg.fieldByName("PATH").size(), 255);
    EXPECT_EQ(reg.fieldByName("DATABASE").size(), 255);
    const std::string deepFolder = "/home/someone/" + std::string(200, 'f') + "/Pictures/2004";
    reg.edit();
    reg.fieldByName("PATH").setAsString(deepFolder);
    reg.fieldByName("DATABASE").setAsString(std::string(255, 'n'));
    reg.refresh();
    reg.close();
    reg.open();
    EXPECT_EQ(reg.fieldByName("PATH").asString(), deepFolder);
    EXPECT_EQ(reg.fieldByName("DATABASE").asString(), std::string(255, 'n'));
}
