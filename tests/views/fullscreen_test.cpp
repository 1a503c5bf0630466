// The full-screen viewer: its strip runs the main window's commands, its display follows the
// current record (a slideshow tick included), and its own settings last between openings.
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include "imaging/pdbmultiimage.h"
#include "programfixture.h"
#include "views/fullscreen.h"

namespace {

class FullScreenTest : public ProgramTest {
protected:
    // Pictures 1..6 in colours of their own; category 3 holds 2, 4 and 5; the slideshow
    // steps at every tick.
    void SetUp() override
    {
        std::vector<TestPicture> pictures;
        for (int n = 1; n <= 6; ++n)
            pictures.push_back({"memo " + std::to_string(n), std::to_string(n),
                                n == 2 || n == 4 || n == 5 ? std::vector<int>{3} : std::vector<int>{}, false,
                                pictureFile(40, 30, QColor(30 * n, 0, 0))});
        createAlbum(albumDir(), "full", pictures, {{"DELAY", std::int64_t{1}}});
        writeRegDb({264, 52, 742, 630, true, "full", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    void withViewer(const std::function<void(TForm11&)>& act)
    {
        modals.onNextModal([&act](QDialog& dialog) {
            auto& viewer = static_cast<TForm11&>(dialog);
            act(viewer);
            viewer.BitBtn1->click();
        });
        click("SpeedButton9");
        EXPECT_EQ(modals.unused(), 0);
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    // The picture the viewer shows, by its colour.
    static int shown(TForm11& viewer)
    {
        viewer.PDBMultiImage1->waitForDisplay();
        const QImage picture = viewer.PDBMultiImage1->picture();
        return picture.isNull() ? 0 : qRed(picture.pixel(0, 0)) / 30;
    }
    static void click(QWidget& target) { QTest::mouseClick(&target, Qt::LeftButton, {}, target.rect().center()); }
    using ProgramTest::click;
};

} // namespace

TEST_F(FullScreenTest, OpensMaximisedOnBlackWithItsOwnDisplaySettings)
{
    withViewer([](TForm11& viewer) {
        EXPECT_TRUE(viewer.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(viewer.windowTitle(), "FullScreen");
        EXPECT_EQ(viewer.palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_TRUE(viewer.PDBMultiImage1->Center());
        EXPECT_FALSE(viewer.PDBMultiImage1->StretchRatio());
        EXPECT_TRUE(viewer.PDBMultiImage1->textOverlay().isEmpty());
        EXPECT_EQ(shown(viewer), 1);
    });
}

TEST_F(FullScreenTest, TheArrowsStepWithinTheCategoryAndTheMainWindowFollows)
{
    click("RzDBLabel3");
    std::vector<int> seen;
    withViewer([&seen](TForm11& viewer) {
        for (int step = 0; step < 3; ++step) {
            click(*viewer.SpeedButton2);
            seen.push_back(shown(viewer));
        }
        click(*viewer.SpeedButton1);
        seen.push_back(shown(viewer));
    });
    EXPECT_EQ(seen, (std::vector<int>{4, 5, 2, 5}));
    pictureView().waitForDisplay();
    EXPECT_EQ(qRed(pictureView().picture().pixel(0, 0)) / 30, 5) << "the main view shows the last picture";
    EXPECT_EQ(current(), "5");
    EXPECT_EQ(paneText("RzStatusPane3"), "3");
    EXPECT_EQ(positionBar().value(), 3);
    EXPECT_TRUE(control<QToolButton>("SpeedButton2").isChecked()) << "the main window's arrows keep their looks";
}

TEST_F(FullScreenTest, FindTextMakesTheForwardArrowFind)
{
    findBox().setText("memo 4");
    withViewer([](TForm11& viewer) { click(*viewer.SpeedButton2); });
    EXPECT_EQ(current(), "4");
    EXPECT_EQ(paneText("RzStatusPane4"), "Found");
}

TEST_F(FullScreenTest, ARunningSlideshowKeepsAdvancingInTheViewer)
{
    click("SpeedButton3");
    ASSERT_FALSE(form().state().SlideshowStopped);
    int reached = 0;
    std::string currentThen;
    // The viewer is looked at again and again from its own event loop, as a user would watch
    // it, until the slideshow has moved on.
    int looks = 0;
    std::function<void(QDialog&)> look = [&](QDialog& dialog) {
        auto& viewer = static_cast<TForm11&>(dialog);
        if (current() == "1" && ++looks < 300) {
            modals.onNextModal(look);
            return;
        }
        reached = shown(viewer);
        currentThen = current();
        viewer.BitBtn1->click();
    };
    modals.onNextModal(look);
    click("SpeedButton9");
    EXPECT_GT(reached, 1);
    EXPECT_EQ(std::to_string(reached), currentThen) << "the viewer shows the current picture";
    EXPECT_FALSE(form().state().SlideshowStopped) << "closing the viewer stops nothing";
    click("SpeedButton3");
}

TEST_F(FullScreenTest, PlayInTheViewerStartsTheSlideshowOfTheMainWindow)
{
    withViewer([this](TForm11& viewer) {
        click(*viewer.SpeedButton3);
        EXPECT_FALSE(form().state().SlideshowStopped);
        EXPECT_TRUE(viewer.SpeedButton3->isChecked());
    });
    EXPECT_FALSE(form().state().SlideshowStopped);
    click("SpeedButton3");
    EXPECT_TRUE(form().state().SlideshowStopped);
}

TEST_F(FullScreenTest, StretchImageLastsFromOneOpeningToTheNext)
{
    withViewer([](TForm11& viewer) {
        click(*viewer.CheckBox1);
        EXPECT_TRUE(viewer.PDBMultiImage1->StretchRatio());
    });
    withViewer([](TForm11& viewer) {
        EXPECT_TRUE(viewer.CheckBox1->isChecked());
        EXPECT_TRUE(viewer.PDBMultiImage1->StretchRatio());
    });
}

TEST_F(FullScreenTest, EscapeClosesTheViewer)
{
    bool closed = false;
    modals.onNextModal([&closed](QDialog& dialog) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        closed = !dialog.isVisible();
    });
    click("SpeedButton9");
    EXPECT_TRUE(closed);
}

class FullScreenWithoutAlbumTest : public ProgramTest {};

TEST_F(FullScreenWithoutAlbumTest, TheViewerOpensEmptyAndItsArrowsReportTheClosedTable)
{
    startWithoutActivation();
    ASSERT_TRUE(control("SpeedButton9").isEnabled());
    bool showedPicture = true;
    modals.onNextModal([&showedPicture](QDialog& dialog) {
        auto& viewer = static_cast<TForm11&>(dialog);
        showedPicture = viewer.PDBMultiImage1->hasImage();
        viewer.SpeedButton2->click();
        viewer.BitBtn1->click();
    });
    click("SpeedButton9");
    EXPECT_FALSE(showedPicture);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors.front().contains("closed table")) << dialogs.errors.front().toStdString();
    dialogs.errors.clear();
}

TEST_F(FullScreenTest, ClosedItDecodesNothingAndOpenedItShowsTheCurrentPicture)
{
    auto* viewer = form().findChild<TForm11*>();
    ASSERT_NE(viewer, nullptr);
    click("SpeedButton2");
    click("SpeedButton2");
    viewer->PDBMultiImage1->waitForDisplay();
    EXPECT_TRUE(viewer->PDBMultiImage1->picture().isNull()) << "the closed viewer followed the steps";
    int opened = 0;
    withViewer([&opened](TForm11& open) { opened = shown(open); });
    EXPECT_EQ(opened, 3);
    viewer->PDBMultiImage1->waitForDisplay();
    EXPECT_TRUE(viewer->PDBMultiImage1->picture().isNull()) << "closed again, it let its picture go";
}
