// The slideshow, driven tick by tick as the 100 ms timer would.
#include <QLineEdit>
#include <QToolButton>

#include "framework/statuspanes.h"
#include "programfixture.h"

namespace {

class SlideshowTest : public ProgramTest {
protected:
    void openAlbum(int delay, const std::vector<std::string>& memos = {"", "", "", ""})
    {
        std::vector<TestPicture> pictures;
        for (std::size_t i = 0; i < memos.size(); ++i)
            pictures.push_back({memos[i], std::to_string(i + 1)});
        createAlbum(albumDir(), "show", pictures, {{"DELAY", std::int64_t{delay}}});
        writeRegDb({264, 52, 742, 630, true, "show", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    void setDelay(int delay)
    {
        db().Table3.edit();
        db().Table3.fieldByName("DELAY").setAsInteger(delay);
        db().Table3.refresh();
    }
    // Ticks until the picture changes; returns the number of ticks that did not step.
    int ticksUntilStep(int limit = 1000)
    {
        const std::string before = current();
        for (int waited = 0; waited < limit; ++waited) {
            form().MyIdleHandler();
            if (current() != before)
                return waited;
        }
        return -1;
    }
};

} // namespace

TEST_F(SlideshowTest, WithDelayTwentyTwentyTicksPassBetweenStepsInFivePercentSteps)
{
    openAlbum(20);
    click("SpeedButton3");
    EXPECT_TRUE(control<QToolButton>("SpeedButton3").isChecked());
    std::vector<int> shown;
    for (int tick = 0; tick < 21; ++tick) {
        ASSERT_EQ(current(), "1") << "stepped too early, at tick " << tick;
        form().MyIdleHandler();
        shown.push_back(progressBar().percent());
    }
    EXPECT_EQ(current(), "2");
    for (int tick = 0; tick <= 20; ++tick)
        EXPECT_EQ(shown[static_cast<std::size_t>(tick)], tick * 5) << "tick " << tick;
    EXPECT_EQ(ticksUntilStep(), 20);
}

TEST_F(SlideshowTest, ADelayOfZeroOrLessStepsOnEveryTick)
{
    openAlbum(0);
    click("SpeedButton3");
    EXPECT_EQ(ticksUntilStep(), 0);
    setDelay(-3);
    EXPECT_EQ(ticksUntilStep(), 0);
}

TEST_F(SlideshowTest, LoweringTheDelayBelowTheCountStepsAtTheNextTick)
{
    openAlbum(50);
    click("SpeedButton3");
    for (int tick = 0; tick < 30; ++tick)
        form().MyIdleHandler();
    ASSERT_EQ(form().state().SlideshowTicks, 30);
    setDelay(10);
    EXPECT_EQ(ticksUntilStep(), 0);
}

TEST_F(SlideshowTest, TheDirectionIsThatOfTheLastArrowPressed)
{
    openAlbum(0);
    click("SpeedButton1"); // now on 4, backwards
    click("SpeedButton3");
    form().MyIdleHandler();
    EXPECT_EQ(current(), "3");
    click("SpeedButton4"); // find next also turns it forwards
    form().MyIdleHandler();
    EXPECT_EQ(current(), "1");
}

TEST_F(SlideshowTest, WithFindTextEveryStepIsAFindStep)
{
    openAlbum(0, {"", "cat", "", "cat"});
    findBox().setText("cat");
    click("SpeedButton3");
    form().MyIdleHandler();
    EXPECT_EQ(current(), "4");
    EXPECT_EQ(paneText("RzStatusPane4"), "Found");
    findBox().setText("dog");
    form().MyIdleHandler();
    EXPECT_EQ(paneText("RzStatusPane4"), "NOT Found");
}

TEST_F(SlideshowTest, StoppingClearsTheBarAndStartingAgainContinuesTheCount)
{
    openAlbum(10);
    click("SpeedButton3");
    for (int tick = 0; tick < 6; ++tick)
        form().MyIdleHandler();
    click("SpeedButton3");
    EXPECT_FALSE(control<QToolButton>("SpeedButton3").isChecked());
    EXPECT_EQ(progressBar().percent(), 0);
    form().MyIdleHandler(); // stopped: nothing counts
    EXPECT_EQ(form().state().SlideshowTicks, 6);
    click("SpeedButton3");
    EXPECT_EQ(ticksUntilStep(), 4);
}

TEST_F(SlideshowTest, WithoutAnOpenAlbumTheTicksDoNothing)
{
    openAlbum(0);
    click("SpeedButton3");
    closeAlbum();
    for (int tick = 0; tick < 5; ++tick)
        form().MyIdleHandler();
    EXPECT_TRUE(dialogs.errors.isEmpty());
}
