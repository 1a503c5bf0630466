// Showing one category, the marked pictures, or all pictures.
#include <QToolButton>

#include "framework/dblabel.h"
#include "framework/statuspanes.h"
#include "imaging/pdbmultiimage.h"
#include "framework/trackbar.h"
#include "programfixture.h"

namespace {

class FilterTest : public ProgramTest {
protected:
    // Pictures 1..6: category 3 holds 2, 4 and 5; category 5 holds 4; 6 is marked.
    void openAlbum()
    {
        createAlbum(albumDir(), "cats",
                    {{"", "1"}, {"", "2", {3}}, {"", "3"}, {"", "4", {3, 5}}, {"", "5", {3}}, {"", "6", {}, true}});
        writeRegDb({264, 52, 742, 630, true, "cats", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    std::vector<std::string> stepThroughAll()
    {
        std::vector<std::string> seen{current()};
        for (int i = 0; i < 10; ++i) {
            form().SpeedButton2Click();
            if (current() == seen.front())
                break;
            seen.push_back(current());
        }
        return seen;
    }
};

} // namespace

TEST_F(FilterTest, ACategoryShowsOnlyItsPicturesInTableOrder)
{
    openAlbum();
    form().RzLabel4Click(); // category 3
    EXPECT_TRUE(form().SpeedButton7->isChecked());
    EXPECT_EQ(current(), "2");
    EXPECT_EQ(form().RzStatusPane3->text(), "1");
    EXPECT_EQ(form().RzTrackBar1->maximum(), 6) << "the bar's maximum is left alone";
    EXPECT_EQ(stepThroughAll(), (std::vector<std::string>{"2", "4", "5"}));
}

TEST_F(FilterTest, ClickingTheShownCategoryAgainReturnsToItsFirstPicture)
{
    openAlbum();
    form().RzLabel4Click();
    form().SpeedButton2Click();
    ASSERT_EQ(current(), "4");
    form().RzLabel4Click();
    EXPECT_EQ(current(), "2");
}

TEST_F(FilterTest, AnotherCategoryReplacesTheFilterInsteadOfCombining)
{
    openAlbum();
    form().RzLabel4Click();
    form().RzLabel6Click(); // category 5
    EXPECT_EQ(stepThroughAll(), std::vector<std::string>{"4"});
}

TEST_F(FilterTest, AnEmptyCategoryShowsNoPicture)
{
    openAlbum();
    form().RzLabel25Click(); // category 24: never set on any picture
    EXPECT_TRUE(db().Table1.isEmpty());
    EXPECT_EQ(form().RzStatusPane3->text(), "0");
    EXPECT_FALSE(form().PDBMultiImage1->hasImage());
}

TEST_F(FilterTest, MarkedPicturesAndShowAll)
{
    openAlbum();
    form().ShowChecked1Click();
    EXPECT_EQ(stepThroughAll(), std::vector<std::string>{"6"});
    form().SpeedButton7Click();
    EXPECT_FALSE(form().SpeedButton7->isChecked());
    EXPECT_EQ(current(), "1") << "show all returns to the first picture of the table";
    form().SpeedButton2Click();
    form().SpeedButton7->click(); // also when no filter is on, and the button stays up
    EXPECT_EQ(current(), "1");
    EXPECT_FALSE(form().SpeedButton7->isChecked());
}

TEST_F(FilterTest, AClickWithoutAnAlbumRecordsTheFilterForTheNextOne)
{
    createAlbum(albumDir(), "later", {{"", "1"}, {"", "2", {7}}});
    writeRegDb({});
    start();
    QTest::mouseClick(form().categoryLabels[6], Qt::LeftButton); // category 7, no album open
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("closed table"));
    EXPECT_TRUE(form().SpeedButton7->isChecked());
    form().PasswordGate(albumDir(), "later");
    EXPECT_EQ(current(), "2");
}

TEST_F(FilterTest, OpeningAnotherAlbumLiftsTheFilter)
{
    openAlbum();
    createAlbum(albumDir(), "other", {{"", "a"}, {"", "b"}});
    form().ShowChecked1Click();
    dialogs.answerPath(QString::fromStdString(albumDir() + "/other.mb"));
    form().Open1Click();
    ASSERT_TRUE(form().albumOpen());
    EXPECT_FALSE(form().SpeedButton7->isChecked());
    EXPECT_EQ(stepThroughAll(), (std::vector<std::string>{"a", "b"}));
}
