// Text goes in as UTF-8 and comes out as UTF-8, stored in the table's code page.
#include "helpers/pxoracle.h"
#include "helpers/testsupport.h"
#include "paradox/error.h"
#include "paradox/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace paradox::test {
namespace {

using ::testing::HasSubstr;

class CodePageTable : public ::testing::Test {
protected:
    Table make(int codePage, std::uint8_t alphaSize = 40)
    {
        Table::create(db, {alphaField("NAAM", alphaSize), memoField("MEMO")}, codePage);
        return Table(db);
    }
    // The alpha field's bytes as pxlib reads them from the file.
    Bytes storedName(std::size_t record)
    {
        return std::get<Bytes>(readWithPxlib(db, dir.path()).records.at(record).at(0));
    }

    ::TempDir dir;
    std::filesystem::path db = dir / "text.db";
};

TEST_F(CodePageTable, Utf8TablesKeepEveryCharacter)
{
    Table table = make(65001);
    const std::string text = "日本語 😀 Ελληνικά";
    table.append({{0, text}, {1, text + " and a longer memo"}});
    EXPECT_EQ(table.text(0, 0), text);
    EXPECT_EQ(table.text(0, 1), text + " and a longer memo");
    EXPECT_EQ(storedName(0), Bytes(text.begin(), text.end()));
}

TEST_F(CodePageTable, CutsTextAtTheFieldSizeNeverInsideACharacter)
{
    struct Case {
        std::uint8_t size;
        const char* text;
        const char* kept;
    };
    const Case cases[] = {{5, "aé€x", "aé"}, {4, "😀a", "😀"}, {3, "😀", ""}, {6, "abcdefgh", "abcdef"}};
    for (const Case& c : cases) {
        Table table = make(65001, c.size);
        table.append({{0, std::string(c.text)}});
        EXPECT_EQ(table.text(0, 0), c.kept) << c.text << " in " << int{c.size} << " bytes";
    }
    Table shiftJis = make(932, 5);
    shiftJis.append({{0, std::string("日本語")}});
    EXPECT_EQ(shiftJis.text(0, 0), "日本");
    EXPECT_EQ(storedName(0).size(), 4u);
}

TEST_F(CodePageTable, OtherCodePagesStoreTheirOwnBytesAndRefuseWhatTheyCannotHold)
{
    Table table = make(1252);
    table.append({{0, std::string("Fünf € œ")}, {1, std::string("Größe")}});
    EXPECT_EQ(table.text(0, 0), "Fünf € œ");
    EXPECT_EQ(table.text(0, 1), "Größe");
    EXPECT_EQ(storedName(0), (Bytes{'F', 0xFC, 'n', 'f', ' ', 0x80, ' ', 0x9C}));

    const Bytes before = readFile(db);
    for (const auto& change : std::vector<FieldChange>{{0, std::string("日本")}, {1, std::string("Ωmega")}}) {
        try {
            table.update(0, {change});
            FAIL() << "text outside code page 1252 was stored";
        } catch (const Error& error) {
            EXPECT_THAT(error.what(), HasSubstr("1252"));
            EXPECT_THAT(error.what(), HasSubstr(db.string()));
        }
    }
    EXPECT_EQ(readFile(db), before);
    EXPECT_EQ(table.text(0, 0), "Fünf € œ");
}

TEST_F(CodePageTable, DosCodePage437HasNoEuroSign)
{
    Table table = make(437);
    table.append({{0, std::string("Müller")}});
    EXPECT_EQ(storedName(0), (Bytes{'M', 0x81, 'l', 'l', 'e', 'r'}));
    EXPECT_THROW(table.append({{0, std::string("5 €")}}), Error);
    EXPECT_EQ(table.recordCount(), 1u);
}

TEST_F(CodePageTable, UnknownCodePagesAreRefused)
{
    EXPECT_THROW(Table::create(db, {alphaField("A", 5)}, 12345), Error);
}

} // namespace
} // namespace paradox::test
