// The thumbnail manager's pages: where they start and end, what a slot click and OK leave
// current, marks stored at every page turn, a filter in force, and an empty view.
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include "programfixture.h"
#include "views/Thumb.h"
#include "views/thumbnailslot.h"

namespace {

// Picture n is named n and painted in a red of 3 × n, so a thumbnail tells which it shows.
QColor colourOf(int picture)
{
    return QColor(3 * picture, 40, 80);
}

class ThumbnailTest : public ProgramTest {
protected:
    // `categories(n)`: the categories of picture n.
    void openAlbum(int pictures, const std::function<std::vector<int>(int)>& categories = {})
    {
        std::vector<TestPicture> records;
        for (int n = 1; n <= pictures; ++n)
            records.push_back({"", std::to_string(n), categories ? categories(n) : std::vector<int>{}, false,
                               pictureFile(8, 6, colourOf(n))});
        createAlbum(albumDir(), "thumbs", records);
        writeRegDb({264, 52, 742, 630, true, "thumbs", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // Opens the manager on the current picture and runs `act` in it; the act closes it.
    void withManager(const std::function<void(TForm10&)>& act)
    {
        modals.onNextModal([&act](QDialog& dialog) { act(static_cast<TForm10&>(dialog)); });
        click("SpeedButton8");
        EXPECT_EQ(modals.unused(), 0);
        EXPECT_EQ(modals.leftovers, 0) << "the window was left open";
    }
    // The pictures the filled slots show, read from the thumbnails themselves.
    static std::vector<int> page(TForm10& manager)
    {
        manager.waitForThumbnails();
        std::vector<int> shown;
        for (int slot = 1; slot <= manager.filledSlots(); ++slot) {
            const QImage& image = manager.thumbnail(slot).image();
            shown.push_back(image.isNull() ? -1 : qRed(image.pixel(0, 0)) / 3);
        }
        return shown;
    }
    static std::vector<int> range(int first, int last)
    {
        std::vector<int> numbers;
        for (int n = first; n <= last; ++n)
            numbers.push_back(n);
        return numbers;
    }
    static void click(QWidget& target) { QTest::mouseClick(&target, Qt::LeftButton, {}, target.rect().center()); }
    // A click on the box's square.
    static void click(QCheckBox& box) { QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2)); }
    using ProgramTest::click;
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    // The names of the marked pictures of the whole table; the current record stays.
    std::vector<int> marked()
    {
        TTable& table = db().Table1;
        std::vector<int> names;
        const bool filtered = table.filtered();
        const int position = table.recNo();
        table.disableControls();
        table.setFiltered(false);
        for (table.first(); !table.eof(); table.next())
            if (table.fieldByName("MARK").asBoolean())
                names.push_back(std::stoi(table.fieldByName("NAAM").asString()));
        table.setFiltered(filtered);
        table.first();
        table.moveBy(position - 1);
        table.enableControls();
        return names;
    }
    void goTo(int position)
    {
        positionBar().setValue(position);
        releasePositionBar();
        ASSERT_EQ(current(), std::to_string(position));
    }
};

} // namespace

TEST_F(ThumbnailTest, FortyFivePicturesMakeThreePagesAndTheLastArrowDoesNothing)
{
    openAlbum(45);
    withManager([](TForm10& manager) {
        EXPECT_EQ(page(manager), range(1, 20));
        click(*manager.SpeedButton2);
        EXPECT_EQ(page(manager), range(21, 40));
        click(*manager.SpeedButton2);
        EXPECT_EQ(page(manager), range(41, 45));
        for (int slot = 6; slot <= 20; ++slot) {
            EXPECT_TRUE(manager.thumbnail(slot).image().isNull()) << "slot " << slot << " is past the end";
            EXPECT_FALSE(manager.markBox(slot).isChecked());
        }
        click(*manager.SpeedButton2);
        EXPECT_EQ(page(manager), range(41, 45));
        click(*manager.SpeedButton1);
        EXPECT_EQ(page(manager), range(21, 40));
        click(manager.thumbnail(3));
        EXPECT_FALSE(manager.isVisible());
    });
    EXPECT_EQ(current(), "23");
    EXPECT_TRUE(pictureView().isEnabled());
}

TEST_F(ThumbnailTest, OkLeavesThePictureAfterThePageCurrent)
{
    openAlbum(45);
    withManager([](TForm10& manager) {
        click(*manager.SpeedButton2);
        click(*manager.BitBtn1);
    });
    EXPECT_EQ(current(), "41");
    EXPECT_TRUE(marked().empty());
}

TEST_F(ThumbnailTest, OnTheLastPageASlotClickAndOkMarkOnlyTheTickedPicture)
{
    openAlbum(45);
    goTo(41);
    withManager([](TForm10& manager) {
        EXPECT_EQ(page(manager), range(41, 45));
        click(manager.thumbnail(5));
    });
    EXPECT_EQ(current(), "45");
    goTo(41);
    withManager([](TForm10& manager) {
        click(manager.markBox(2));
        // A slot past the end does nothing.
        click(manager.thumbnail(9));
        EXPECT_TRUE(manager.isVisible());
        click(*manager.BitBtn1);
    });
    EXPECT_EQ(current(), "45") << "the page reached the end: its last picture";
    EXPECT_EQ(marked(), std::vector<int>{42});
}

TEST_F(ThumbnailTest, TheFirstPageStartsAtTheCurrentPictureAndItsPreviousPageAtTheFirst)
{
    openAlbum(30);
    goTo(7);
    withManager([](TForm10& manager) {
        EXPECT_EQ(page(manager), range(7, 26));
        click(*manager.SpeedButton1);
        EXPECT_EQ(page(manager), range(1, 20));
        click(*manager.BitBtn1);
    });
    EXPECT_EQ(current(), "21");
}

TEST_F(ThumbnailTest, MarksAreStoredAtThePageTurnAndShownOnTurningBack)
{
    openAlbum(45);
    withManager([this](TForm10& manager) {
        click(manager.markBox(5));
        click(*manager.SpeedButton2);
        EXPECT_EQ(marked(), std::vector<int>{5}) << "stored before the next page";
        EXPECT_FALSE(manager.markBox(5).isChecked()) << "picture 25 is not marked";
        click(*manager.SpeedButton1);
        EXPECT_TRUE(manager.markBox(5).isChecked());
        click(manager.markBox(5));
        click(manager.markBox(20));
        click(*manager.BitBtn1);
    });
    EXPECT_EQ(marked(), std::vector<int>{20});
}

TEST_F(ThumbnailTest, TheCloseBoxStoresTheMarksAndGivesTheMainViewBack)
{
    openAlbum(10);
    withManager([this](TForm10& manager) {
        EXPECT_FALSE(pictureView().isEnabled()) << "the main view rests while the manager is open";
        click(manager.markBox(3));
        manager.close();
    });
    EXPECT_EQ(marked(), std::vector<int>{3});
    EXPECT_TRUE(pictureView().isEnabled());
    EXPECT_EQ(current(), "10");
}

TEST_F(ThumbnailTest, WithACategoryInForceThePagesHoldItsPicturesAndMarksGoToThem)
{
    // Category 3: every third picture, 3 to 75 (25 pictures).
    openAlbum(75, [](int n) { return n % 3 == 0 ? std::vector<int>{3} : std::vector<int>{}; });
    click("RzDBLabel3");
    std::vector<int> firstPage, secondPage;
    for (int n = 3; n <= 60; n += 3)
        firstPage.push_back(n);
    for (int n = 63; n <= 75; n += 3)
        secondPage.push_back(n);
    withManager([&](TForm10& manager) {
        EXPECT_EQ(page(manager), firstPage);
        click(manager.markBox(2));
        click(*manager.SpeedButton2);
        EXPECT_EQ(page(manager), secondPage);
        click(manager.markBox(1));
        click(manager.thumbnail(2));
    });
    EXPECT_EQ(current(), "66");
    EXPECT_EQ(marked(), (std::vector<int>{6, 63}));
}

TEST_F(ThumbnailTest, WithNoVisiblePictureOkWritesNothing)
{
    openAlbum(5);
    click("RzDBLabel31"); // category 24: empty
    withManager([](TForm10& manager) {
        EXPECT_EQ(manager.filledSlots(), 0);
        EXPECT_TRUE(manager.thumbnail(1).image().isNull());
        EXPECT_FALSE(manager.markBox(1).isChecked());
        click(manager.markBox(1));
        click(manager.thumbnail(1));
        EXPECT_TRUE(manager.isVisible()) << "an empty slot does nothing";
        click(*manager.BitBtn1);
    });
    click("SpeedButton7");
    EXPECT_EQ(db().Table1.recordCount(), 5);
    EXPECT_TRUE(marked().empty());
}

TEST_F(ThumbnailTest, ClearingAMarkWhileOnlyMarkedPicturesShowWritesEachBoxToItsOwnPicture)
{
    openAlbum(10);
    TTable& table = db().Table1;
    for (int n = 2; n <= 10; n += 2) {
        table.first();
        table.moveBy(n - 1);
        table.edit();
        table.fieldByName("MARK").setAsBoolean(true);
    }
    table.refresh();
    trigger("ShowChecked1");
    withManager([](TForm10& manager) {
        EXPECT_EQ(page(manager), (std::vector<int>{2, 4, 6, 8, 10}));
        click(manager.markBox(2)); // picture 4 leaves the marked pictures when stored
        click(*manager.SpeedButton2); // the page reached the end: it stays, and is stored
        click(manager.markBox(5));
        click(manager.thumbnail(4));
    });
    EXPECT_EQ(current(), "8");
    EXPECT_EQ(marked(), (std::vector<int>{2, 6, 8}));
}
