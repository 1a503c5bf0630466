// Showing one category, the marked pictures, or all pictures.
#include <QToolButton>

#include "framework/dblabel.h"
#include "framework/statuspanes.h"
#include "imaging/pdbmultiimage.h"
#include "framework/trackbar.h"
#include "dbmanage/albumactivation.h"
#include "dbmanage/paswoord.h"
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
            click("SpeedButton2");
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
    click("RzDBLabel3"); // category 3
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_EQ(current(), "2");
    EXPECT_EQ(paneText("RzStatusPane3"), "1");
    EXPECT_EQ(positionBar().maximum(), 6) << "the bar's maximum is left alone";
    EXPECT_EQ(stepThroughAll(), (std::vector<std::string>{"2", "4", "5"}));
}

TEST_F(FilterTest, ClickingTheShownCategoryAgainReturnsToItsFirstPicture)
{
    openAlbum();
    click("RzDBLabel3");
    click("SpeedButton2");
    ASSERT_EQ(current(), "4");
    click("RzDBLabel3");
    EXPECT_EQ(current(), "2");
}

TEST_F(FilterTest, AnotherCategoryReplacesTheFilterInsteadOfCombining)
{
    openAlbum();
    click("RzDBLabel3");
    click("RzDBLabel5"); // category 5
    EXPECT_EQ(stepThroughAll(), std::vector<std::string>{"4"});
}

TEST_F(FilterTest, AnEmptyCategoryShowsNoPicture)
{
    openAlbum();
    click("RzDBLabel31"); // category 24: never set on any picture
    EXPECT_TRUE(db().Table1.isEmpty());
    EXPECT_EQ(paneText("RzStatusPane3"), "0");
    EXPECT_FALSE(pictureView().hasImage());
}

TEST_F(FilterTest, MarkedPicturesAndShowAll)
{
    openAlbum();
    trigger("ShowChecked1");
    EXPECT_EQ(stepThroughAll(), std::vector<std::string>{"6"});
    click("SpeedButton7");
    EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_EQ(current(), "1") << "show all returns to the first picture of the table";
    click("SpeedButton2");
    click("SpeedButton7"); // also when no filter is on, and the button stays up
    EXPECT_EQ(current(), "1");
    EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
}

TEST_F(FilterTest, AClickWithoutAnAlbumRecordsTheFilterForTheNextOne)
{
    createAlbum(albumDir(), "later", {{"", "1"}, {"", "2", {7}}});
    writeRegDb({});
    start();
    click("RzDBLabel7"); // category 7, no album open
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("closed table"));
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    // Activation as start-up runs it, without closing (and so without lifting the filter).
    AlbumActivation(db(), pictureView(), form(), *form().findChild<TForm4*>()).PasswordGate(albumDir(), "later");
    EXPECT_EQ(current(), "2");
}

TEST_F(FilterTest, OpeningAnotherAlbumLiftsTheFilter)
{
    openAlbum();
    createAlbum(albumDir(), "other", {{"", "a"}, {"", "b"}});
    trigger("ShowChecked1");
    dialogs.answerPath(QString::fromStdString(albumDir() + "/other.mb"));
    trigger("Open1");
    ASSERT_TRUE(form().albumOpen());
    EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_EQ(stepThroughAll(), (std::vector<std::string>{"a", "b"}));
}
