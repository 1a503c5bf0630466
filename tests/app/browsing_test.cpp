// Stepping, finding, zooming and jumping through the pictures of the open album.
#include <QLineEdit>

#include <fstream>
#include <QToolButton>

#include "framework/dbmemo.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"
#include "programfixture.h"

namespace {

class BrowsingTest : public ProgramTest {
protected:
    // Opens an album of pictures named "1" .. "n" with the given memos.
    void openAlbum(const std::vector<std::string>& memos,
                   const std::vector<std::pair<std::string, paradox::Value>>& settings = {})
    {
        std::vector<TestPicture> pictures;
        for (std::size_t i = 0; i < memos.size(); ++i)
            pictures.push_back({memos[i], std::to_string(i + 1)});
        createAlbum(albumDir(), "walk", pictures, settings);
        writeRegDb({264, 52, 742, 630, true, "walk", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    void goTo(int recordNumber)
    {
        db().Table1.first();
        db().Table1.moveBy(recordNumber - 1);
    }
};

} // namespace

TEST_F(BrowsingTest, SteppingComesRoundAtBothEnds)
{
    openAlbum({"", "", ""});
    form().SpeedButton1Click();
    EXPECT_EQ(current(), "3");
    EXPECT_FALSE(form().SlideshowForward);
    form().SpeedButton2Click();
    EXPECT_EQ(current(), "1");
    EXPECT_TRUE(form().SlideshowForward);
    form().SpeedButton2Click();
    form().SpeedButton2Click();
    EXPECT_EQ(current(), "3");
    EXPECT_EQ(form().RzStatusPane3->text(), "3");
    EXPECT_EQ(form().RzTrackBar1->value(), 3);
}

TEST_F(BrowsingTest, WithOnePictureAStepStaysAndASearchTestsItOnce)
{
    openAlbum({"only memo"});
    form().Edit1->setText("absent");
    form().SpeedButton2Click();
    EXPECT_EQ(current(), "1");
    EXPECT_EQ(form().RzStatusPane4->text(), "NOT Found");
    form().Edit1->setText("only");
    form().SpeedButton1Click();
    EXPECT_EQ(form().RzStatusPane4->text(), "Found");
}

TEST_F(BrowsingTest, FindNextStartsAfterTheRecordTheStepReaches)
{
    openAlbum({"", "", "sunset here", "", "sunset there"});
    goTo(2);
    form().Edit1->setText("sunset");
    form().SpeedButton4Click();
    EXPECT_EQ(current(), "5") << "the step reaches 3, so the search starts at 4";
    EXPECT_EQ(form().RzStatusPane4->text(), "Found");
    EXPECT_EQ(form().RzStatusPane3->text(), "5");
}

TEST_F(BrowsingTest, TheRecordTheStepReachesIsTestedLast)
{
    openAlbum({"", "", "sunset", "", ""});
    goTo(2);
    form().Edit1->setText("sunset");
    form().SpeedButton2Click();
    EXPECT_EQ(current(), "3");
    EXPECT_EQ(form().RzStatusPane4->text(), "Found");
}

TEST_F(BrowsingTest, FindIsExactAndCaseSensitiveAndAFailedSearchStillSteps)
{
    openAlbum({"", "Sunset", "", ""});
    form().Edit1->setText("sunset");
    form().SpeedButton2Click();
    EXPECT_EQ(current(), "2") << "nothing matches: the step has been taken";
    EXPECT_EQ(form().RzStatusPane4->text(), "NOT Found");
}

TEST_F(BrowsingTest, FindBackwardsSearchesTheOtherWay)
{
    openAlbum({"tree", "", "", "tree", ""});
    goTo(5);
    form().Edit1->setText("tree");
    form().SpeedButton1Click(); // reaches 4, searches 3, 2, 1
    EXPECT_EQ(current(), "1");
}

TEST_F(BrowsingTest, AnEmptyFindBoxMakesPlainStepsAndBlanksTheResult)
{
    openAlbum({"a", "b"});
    form().Edit1->setText("a");
    form().SpeedButton2Click();
    ASSERT_FALSE(form().RzStatusPane4->text().isEmpty());
    form().Edit1->clear();
    form().SpeedButton2Click();
    EXPECT_TRUE(form().RzStatusPane4->text().isEmpty());
}

TEST_F(BrowsingTest, AStepStoresTheMemoTypedJustBefore)
{
    openAlbum({"before", ""});
    form().DBMemo1->setFocus();
    QTest::keyClicks(form().DBMemo1, "X");
    form().SpeedButton2Click();
    form().SpeedButton1Click();
    EXPECT_EQ(db().Table1.fieldByName("MEMO").asString(), "Xbefore");
}

TEST_F(BrowsingTest, TenZoomStepsAreAllowedUntilAStepResetsTheCount)
{
    createAlbum(albumDir(), "zoom", {{"", "1", {}, false, pictureFile(400, 300, Qt::blue)}, {"", "2"}});
    writeRegDb({264, 52, 742, 630, true, "zoom", albumDir()});
    start();
    TPDBMultiImage& view = *form().PDBMultiImage1;
    view.waitForDisplay();
    const double startScale = view.zoomScale();
    for (int i = 0; i < 10; ++i)
        form().SpeedButton5Click();
    EXPECT_EQ(form().ZoomStep, -10);
    const double zoomedScale = view.zoomScale();
    EXPECT_NEAR(zoomedScale / startScale, std::pow(1.1, 10), 0.01);
    form().SpeedButton5Click();
    EXPECT_EQ(form().ZoomStep, -10);
    EXPECT_DOUBLE_EQ(view.zoomScale(), zoomedScale) << "the eleventh step does nothing";
    form().SpeedButton2Click();
    EXPECT_EQ(form().ZoomStep, 0);
    form().SpeedButton6Click();
    EXPECT_EQ(form().ZoomStep, 1);
}

TEST_F(BrowsingTest, AStepFitsPicturesLargerThanTheViewAndShowsSmallOnesAtTheirOwnSize)
{
    createAlbum(albumDir(), "fit",
                {{"", "big", {}, false, pictureFile(3000, 2000, Qt::red, "JPG")},
                 {"", "small", {}, false, pictureFile(40, 30, Qt::green)}});
    writeRegDb({264, 52, 742, 630, true, "fit", albumDir()});
    start();
    form().SpeedButton2Click();
    EXPECT_FALSE(form().PDBMultiImage1->StretchRatio());
    form().SpeedButton2Click();
    EXPECT_TRUE(form().PDBMultiImage1->StretchRatio());
}

TEST_F(BrowsingTest, TheNameIsShownOverThePictureWhenTheAlbumSaysSo)
{
    openAlbum({"", ""}, {{"TITEL", true}});
    EXPECT_EQ(form().PDBMultiImage1->textOverlay(), "1");
    form().SpeedButton2Click();
    EXPECT_EQ(form().PDBMultiImage1->textOverlay(), "2");
}

TEST_F(BrowsingTest, ThePositionBarJumpsOnReleaseAndStopsAtTheEnds)
{
    openAlbum({"", "", "", "", ""}, {{"TITEL", true}});
    form().RzTrackBar1->setValue(4); // dragging (or the keyboard) moves nothing
    EXPECT_EQ(current(), "1");
    form().RzTrackBar1MouseUp();
    EXPECT_EQ(current(), "4");
    EXPECT_EQ(form().RzStatusPane3->text(), "4");
    EXPECT_EQ(form().PDBMultiImage1->textOverlay(), "4");
    form().RzTrackBar1->setValue(0);
    form().RzTrackBar1MouseUp();
    EXPECT_EQ(current(), "1");
}

TEST_F(BrowsingTest, ADamagedMemoIsReportedOnceAndAFindPassesOverIt)
{
    // One-letter memos live in their records; longer ones in the blob file, which is
    // damaged below.
    openAlbum({"a", "beta beta", "gamma gamma"});
    stop();
    {
        std::fstream blobs(albums.path() / "walk.mb", std::ios::in | std::ios::out | std::ios::binary);
        blobs.seekp(4096);
        const std::string garbage(8192, '\xee');
        blobs.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    start();
    ASSERT_TRUE(form().albumOpen());
    DBMemo& memo = widgetNamed<DBMemo>(form(), "DBMemo1");
    form().SpeedButton2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(current(), "2");
    EXPECT_EQ(dialogs.errors.size(), 1) << "shown once";
    EXPECT_TRUE(memo.toPlainText().isEmpty());
    EXPECT_TRUE(memo.isReadOnly()) << "typing over it would replace what the album may still hold";

    form().Edit1->setText("gamma");
    form().SpeedButton2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(form().RzStatusPane4->text(), "NOT Found");
    form().Edit1->setText("a");
    form().SpeedButton2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(form().RzStatusPane4->text(), "Found");
    EXPECT_EQ(current(), "1");
    EXPECT_EQ(memo.toPlainText(), "a");
    EXPECT_FALSE(memo.isReadOnly());
}

TEST_F(BrowsingTest, UnderACategoryFilterAMatchInAHiddenPictureIsNotFound)
{
    std::vector<TestPicture> pictures{{"plain", "1", {3}}, {"needle", "2"}, {"plain", "3", {3}}};
    createAlbum(albumDir(), "walk", pictures);
    writeRegDb({264, 52, 742, 630, true, "walk", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    QTest::mouseClick(&widgetNamed<QWidget>(form(), "RzDBLabel3"), Qt::LeftButton); // category 3
    form().Edit1->setText("needle");
    form().SpeedButton2->click();
    EXPECT_EQ(form().RzStatusPane4->text(), "NOT Found");
    EXPECT_EQ(current(), "3") << "the step itself was taken";
}

TEST_F(BrowsingTest, PlusAndMinusTypedInTheFindBoxZoomAndAlsoReachTheBox)
{
    openAlbum({"a", "b"});
    form().Edit1->setFocus();
    QTest::keyClicks(form().Edit1, "+-+");
    EXPECT_EQ(form().Edit1->text(), "+-+");
    EXPECT_EQ(form().ZoomStep, -1) << "in, out, in";
}
