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
    click("SpeedButton1");
    EXPECT_EQ(current(), "3");
    EXPECT_FALSE(form().state().SlideshowForward);
    click("SpeedButton2");
    EXPECT_EQ(current(), "1");
    EXPECT_TRUE(form().state().SlideshowForward);
    click("SpeedButton2");
    click("SpeedButton2");
    EXPECT_EQ(current(), "3");
    EXPECT_EQ(paneText("RzStatusPane3"), "3");
    EXPECT_EQ(positionBar().value(), 3);
}

TEST_F(BrowsingTest, WithOnePictureAStepStaysAndASearchTestsItOnce)
{
    openAlbum({"only memo"});
    findBox().setText("absent");
    click("SpeedButton2");
    EXPECT_EQ(current(), "1");
    EXPECT_EQ(paneText("RzStatusPane4"), "NOT Found");
    findBox().setText("only");
    click("SpeedButton1");
    EXPECT_EQ(paneText("RzStatusPane4"), "Found");
}

TEST_F(BrowsingTest, FindNextStartsAfterTheRecordTheStepReaches)
{
    openAlbum({"", "", "sunset here", "", "sunset there"});
    goTo(2);
    findBox().setText("sunset");
    click("SpeedButton4");
    EXPECT_EQ(current(), "5") << "the step reaches 3, so the search starts at 4";
    EXPECT_EQ(paneText("RzStatusPane4"), "Found");
    EXPECT_EQ(paneText("RzStatusPane3"), "5");
}

TEST_F(BrowsingTest, TheRecordTheStepReachesIsTestedLast)
{
    openAlbum({"", "", "sunset", "", ""});
    goTo(2);
    findBox().setText("sunset");
    click("SpeedButton2");
    EXPECT_EQ(current(), "3");
    EXPECT_EQ(paneText("RzStatusPane4"), "Found");
}

TEST_F(BrowsingTest, FindIsExactAndCaseSensitiveAndAFailedSearchStillSteps)
{
    openAlbum({"", "Sunset", "", ""});
    findBox().setText("sunset");
    click("SpeedButton2");
    EXPECT_EQ(current(), "2") << "nothing matches: the step has been taken";
    EXPECT_EQ(paneText("RzStatusPane4"), "NOT Found");
}

TEST_F(BrowsingTest, FindBackwardsSearchesTheOtherWay)
{
    openAlbum({"tree", "", "", "tree", ""});
    goTo(5);
    findBox().setText("tree");
    click("SpeedButton1"); // reaches 4, searches 3, 2, 1
    EXPECT_EQ(current(), "1");
}

TEST_F(BrowsingTest, AnEmptyFindBoxMakesPlainStepsAndBlanksTheResult)
{
    openAlbum({"a", "b"});
    findBox().setText("a");
    click("SpeedButton2");
    ASSERT_FALSE(paneText("RzStatusPane4").isEmpty());
    findBox().clear();
    click("SpeedButton2");
    EXPECT_TRUE(paneText("RzStatusPane4").isEmpty());
}

TEST_F(BrowsingTest, AStepStoresTheMemoTypedJustBefore)
{
    openAlbum({"before", ""});
    control<DBMemo>("DBMemo1").setFocus();
    QTest::keyClicks(&control<DBMemo>("DBMemo1"), "X");
    click("SpeedButton2");
    click("SpeedButton1");
    EXPECT_EQ(db().Table1.fieldByName("MEMO").asString(), "Xbefore");
}

TEST_F(BrowsingTest, TenZoomStepsAreAllowedUntilAStepResetsTheCount)
{
    createAlbum(albumDir(), "zoom", {{"", "1", {}, false, pictureFile(400, 300, Qt::blue)}, {"", "2"}});
    writeRegDb({264, 52, 742, 630, true, "zoom", albumDir()});
    start();
    TPDBMultiImage& view = pictureView();
    view.waitForDisplay();
    const double startScale = view.zoomScale();
    for (int i = 0; i < 10; ++i)
        click("SpeedButton5");
    EXPECT_EQ(form().state().ZoomStep, -10);
    const double zoomedScale = view.zoomScale();
    EXPECT_NEAR(zoomedScale / startScale, std::pow(1.1, 10), 0.01);
    click("SpeedButton5");
    EXPECT_EQ(form().state().ZoomStep, -10);
    EXPECT_DOUBLE_EQ(view.zoomScale(), zoomedScale) << "the eleventh step does nothing";
    click("SpeedButton2");
    EXPECT_EQ(form().state().ZoomStep, 0);
    click("SpeedButton6");
    EXPECT_EQ(form().state().ZoomStep, 1);
}

TEST_F(BrowsingTest, AStepFitsPicturesLargerThanTheViewAndShowsSmallOnesAtTheirOwnSize)
{
    createAlbum(albumDir(), "fit",
                {{"", "big", {}, false, pictureFile(3000, 2000, Qt::red, "JPG")},
                 {"", "small", {}, false, pictureFile(40, 30, Qt::green)}});
    writeRegDb({264, 52, 742, 630, true, "fit", albumDir()});
    start();
    click("SpeedButton2");
    EXPECT_FALSE(pictureView().StretchRatio());
    click("SpeedButton2");
    EXPECT_TRUE(pictureView().StretchRatio());
}

TEST_F(BrowsingTest, TheNameIsShownOverThePictureWhenTheAlbumSaysSo)
{
    openAlbum({"", ""}, {{"TITEL", true}});
    EXPECT_EQ(pictureView().textOverlay(), "1");
    click("SpeedButton2");
    EXPECT_EQ(pictureView().textOverlay(), "2");
}

TEST_F(BrowsingTest, ThePositionBarJumpsOnReleaseAndStopsAtTheEnds)
{
    openAlbum({"", "", "", "", ""}, {{"TITEL", true}});
    positionBar().setValue(4); // dragging (or the keyboard) moves nothing
    EXPECT_EQ(current(), "1");
    releasePositionBar();
    EXPECT_EQ(current(), "4");
    EXPECT_EQ(paneText("RzStatusPane3"), "4");
    EXPECT_EQ(pictureView().textOverlay(), "4");
    positionBar().setValue(0);
    releasePositionBar();
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
    DBMemo& memo = control<DBMemo>("DBMemo1");
    click("SpeedButton2");
    QCoreApplication::processEvents();
    EXPECT_EQ(current(), "2");
    EXPECT_EQ(dialogs.errors.size(), 1) << "shown once";
    EXPECT_TRUE(memo.toPlainText().isEmpty());
    EXPECT_TRUE(memo.isReadOnly()) << "typing over it would replace what the album may still hold";

    findBox().setText("gamma");
    click("SpeedButton2");
    QCoreApplication::processEvents();
    EXPECT_EQ(paneText("RzStatusPane4"), "NOT Found");
    findBox().setText("a");
    click("SpeedButton2");
    QCoreApplication::processEvents();
    EXPECT_EQ(paneText("RzStatusPane4"), "Found");
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
    QTest::mouseClick(&control<QWidget>("RzDBLabel3"), Qt::LeftButton); // category 3
    findBox().setText("needle");
    click("SpeedButton2");
    EXPECT_EQ(paneText("RzStatusPane4"), "NOT Found");
    EXPECT_EQ(current(), "3") << "the step itself was taken";
}

TEST_F(BrowsingTest, PlusAndMinusTypedInTheFindBoxZoomAndAlsoReachTheBox)
{
    openAlbum({"a", "b"});
    findBox().setFocus();
    QTest::keyClicks(&findBox(), "+-+");
    EXPECT_EQ(findBox().text(), "+-+");
    EXPECT_EQ(form().state().ZoomStep, -1) << "in, out, in";
}

TEST_F(BrowsingTest, AStepOntoADrawingDoesNotWaitForItsDecodeAndFitsItOnceItsSizeIsKnown)
{
    // A drawing tells its size only once drawn; enough lines that drawing takes a while.
    QByteArray drawing = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 60000; ++i)
        drawing += QStringLiteral("0\nLINE\n8\n0\n10\n%1\n20\n0\n11\n%2\n21\n%3\n")
                       .arg(i % 300)
                       .arg(i % 299)
                       .arg(i % 97)
                       .toLatin1();
    drawing += "0\nENDSEC\n0\nEOF\n";
    createAlbum(albumDir(), "drawn",
                {{"", "small", {}, false, pictureFile(40, 30, Qt::green)}, {"", "drawing", {}, false, drawing}});
    writeRegDb({264, 52, 742, 630, true, "drawn", albumDir()});
    start();
    pictureView().waitForDisplay();
    click("SpeedButton2");
    EXPECT_TRUE(pictureView().displayPending()) << "the step returned before the drawing was decoded";
    pictureView().waitForDisplay();
    const QSize size = pictureView().pictureSize();
    ASSERT_TRUE(size.isValid());
    const QSize display = pictureView().displaySize();
    EXPECT_EQ(pictureView().StretchRatio(), size.width() > display.width() || size.height() > display.height());
}
