// The effects of the effects window on small pictures, an effect limited to a selection, the
// window's Stop and its question before closing, and the display transitions.
#include <QTest>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenuBar>
#include <QSpinBox>
#include <QPushButton>

#include <set>

#include "imaging/effects/effect.h"
#include "imaging/effects/effectswindow.h"
#include "imaging/effects/picturecanvas.h"
#include "imaging/error.h"
#include "imaging/transition.h"

using namespace imaging;

namespace {

// Left half red, right half blue; a white pixel at the top left corner.
QImage halves(int width = 40, int height = 20)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, x < width / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    return picture;
}

// Soft gradients with some texture: every effect has something to work on.
QImage scene(int width = 64, int height = 48)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(40 + x * 2, 60 + y * 2, ((x / 4 + y / 4) % 2) ? 170 : 90));
    return picture;
}

QImage run(const QString& name, const QImage& picture, std::vector<int> values = {}, const QRect& area = {},
           const QImage& pasted = {})
{
    const Effect& effect = effectNamed(name);
    if (values.empty())
        values = effect.initialValues();
    return applyEffect(effect, picture, area, values, pasted, {});
}

std::set<QRgb> colours(const QImage& picture)
{
    std::set<QRgb> found;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            found.insert(picture.pixel(x, y));
    return found;
}

double meanGrey(const QImage& picture)
{
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            sum += qGray(picture.pixel(x, y));
    return sum / (picture.width() * picture.height());
}

} // namespace

TEST(Effects, TheMenusHoldExactlyTheListedEffects)
{
    const std::vector<std::pair<QString, QStringList>> expected{
        {"&Image",
         {"Mirror", "Paste Image", "Invert", "Rotate", "Borders", "Border Fade", "Edge Detection", "Gray Area",
          "Tile Maker"}},
        {"&Deformation",
         {"Bleed", "Blur", "Engrave", "Extrude", "Jiggle", "Motion Blur", "Mosaic", "Noisify", "Oil Paint",
          "Pinch Hole", "Polar", "Page Curl", "Spray", "WhirlPool", "Wave", "Warp"}},
        {"&Correction",
         {"AutoContrast", "Bright", "Color Palette", "Color", "Dark", "Despeckle", "Enhance", "Gamma", "HalfTone",
          "Hue and Saturation", "Sharp", "Soft", "Threshold"}},
    };
    ASSERT_EQ(effectMenus().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(effectMenus()[i].title, expected[i].first);
        QStringList names;
        for (const Effect& effect : effectMenus()[i].effects)
            names << effect.name;
        EXPECT_EQ(names, expected[i].second);
    }
}

TEST(Effects, EveryEffectChangesThePicture)
{
    const QImage original = scene();
    QImage pasted(10, 10, QImage::Format_RGB32);
    pasted.fill(Qt::yellow);
    for (const EffectMenu& menu : effectMenus())
        for (const Effect& effect : menu.effects) {
            SCOPED_TRACE(effect.name.toStdString());
            const QImage result = applyEffect(effect, original, {}, effect.initialValues(), pasted, {});
            ASSERT_FALSE(result.isNull());
            EXPECT_NE(result.convertToFormat(QImage::Format_RGB32), original);
        }
}

TEST(Effects, MirrorSwapsColumnsOrRows)
{
    const QImage mirrored = run("Mirror", halves());
    EXPECT_EQ(mirrored.pixel(0, 10), qRgb(0, 0, 255));
    EXPECT_EQ(mirrored.pixel(39, 0), qRgb(255, 255, 255));
    const QImage flipped = run("Mirror", halves(), {1});
    EXPECT_EQ(flipped.pixel(0, 19), qRgb(255, 255, 255));
    EXPECT_EQ(flipped.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(Effects, InvertInvertsEveryChannel)
{
    const QImage inverted = run("Invert", halves());
    EXPECT_EQ(inverted.pixel(5, 5), qRgb(0, 255, 255));
    EXPECT_EQ(inverted.pixel(35, 5), qRgb(255, 255, 0));
    EXPECT_EQ(inverted.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(Effects, Rotate90SwapsWidthAndHeightAndTurnsClockwise)
{
    const QImage turned = run("Rotate", halves(), {90, 0});
    ASSERT_EQ(turned.size(), QSize(20, 40));
    EXPECT_EQ(turned.pixel(19, 0), qRgb(255, 255, 255)) << "the top left corner goes to the top right";
    EXPECT_EQ(turned.pixel(10, 35), qRgb(0, 0, 255));
}

TEST(Effects, BordersFrameThePictureInTheChosenColour)
{
    const QImage framed = run("Borders", halves(), {5, 1});
    ASSERT_EQ(framed.size(), QSize(50, 30));
    EXPECT_EQ(framed.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(framed.pixel(5 + 5, 5 + 5), qRgb(255, 0, 0));
}

TEST(Effects, PasteImagePutsTheClipboardsPictureAtThePlaceGiven)
{
    QImage pasted(10, 5, QImage::Format_RGB32);
    pasted.fill(Qt::green);
    const QImage result = run("Paste Image", halves(), {50, 0, 100}, {}, pasted);
    EXPECT_EQ(result.pixel(22, 2), qRgb(0, 255, 0));
    EXPECT_EQ(result.pixel(22, 10), qRgb(0, 0, 255)) << "below the pasted picture";
    EXPECT_EQ(result.pixel(5, 2), qRgb(255, 0, 0));
    try {
        run("Paste Image", halves(), {0, 0, 100});
        ADD_FAILURE() << "an empty clipboard pasted";
    } catch (const Error& error) {
        EXPECT_EQ(error.code(), ErrorCode::NothingToPaste);
    }
}

TEST(Effects, CorrectionsMoveTheTonesTheRightWay)
{
    const QImage original = scene();
    EXPECT_GT(meanGrey(run("Bright", original)), meanGrey(original) + 5);
    EXPECT_LT(meanGrey(run("Dark", original)), meanGrey(original) - 5);
    EXPECT_GT(meanGrey(run("Gamma", original, {200})), meanGrey(original) + 5);
    for (QRgb colour : colours(run("Threshold", original)))
        EXPECT_TRUE(colour == qRgb(0, 0, 0) || colour == qRgb(255, 255, 255)) << std::hex << colour;
    EXPECT_LE(colours(run("Color Palette", original, {4, 0})).size(), 4u);
    const QImage grey = run("Gray Area", original);
    for (QRgb colour : colours(grey))
        EXPECT_TRUE(qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour));
}

TEST(Effects, WhirlPoolTurnsTheMiddleAndLeavesTheCorners)
{
    const QImage square = halves(40, 40);
    const QImage turned = run("WhirlPool", square, {180});
    EXPECT_EQ(turned.pixel(0, 0), qRgb(255, 255, 255)) << "outside the circle";
    EXPECT_EQ(turned.pixel(39, 39), qRgb(0, 0, 255));
    EXPECT_EQ(turned.pixel(18, 20), qRgb(0, 0, 255)) << "near the middle, half a turn brings the other side";
    EXPECT_EQ(turned.pixel(22, 20), qRgb(255, 0, 0));
    EXPECT_EQ(run("WhirlPool", square, {0}), square);
}

TEST(Effects, AutoContrastStretchesTheLevelsOverTheWholeRange)
{
    QImage flat(50, 20, QImage::Format_RGB32);
    for (int y = 0; y < flat.height(); ++y)
        for (int x = 0; x < flat.width(); ++x)
            flat.setPixel(x, y, qRgb(100 + x, 100 + x, 120));
    const QImage stretched = run("AutoContrast", flat);
    EXPECT_EQ(qRed(stretched.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(stretched.pixel(49, 0)), 255);
    EXPECT_LT(qRed(stretched.pixel(20, 0)), qRed(stretched.pixel(30, 0)));
    EXPECT_EQ(qBlue(stretched.pixel(20, 0)), 120) << "a channel of one level stays as it is";
}

TEST(Effects, MosaicMakesBlocksOfOneColour)
{
    const QImage blocks = run("Mosaic", scene(), {8});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(blocks.pixel(x, y), blocks.pixel(0, 0));
    EXPECT_NE(blocks.pixel(8, 0), blocks.pixel(0, 0));
}

TEST(Effects, AnEffectLimitedToAnAreaLeavesTheRestUnchanged)
{
    const QImage original = halves();
    const QRect area(5, 5, 10, 8);
    const QImage result = run("Invert", original, {}, area);
    ASSERT_EQ(result.size(), original.size());
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
            const QRgb before = original.pixel(x, y);
            const QRgb expected =
                area.contains(x, y) ? qRgb(255 - qRed(before), 255 - qGreen(before), 255 - qBlue(before)) : before;
            ASSERT_EQ(result.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(Effects, ValuesOutOfRangeAreBroughtIntoIt)
{
    const QImage result = run("Borders", halves(), {-50, 9});
    EXPECT_EQ(result.size(), QSize(42, 22)) << "the smallest width, 1";
}

TEST(Effects, ACancelRequestStopsTheEffect)
{
    std::atomic_bool cancel{true};
    TaskControl control;
    control.cancel = &cancel;
    // Through ImageMagick and through our own code.
    for (const char* name : {"Blur", "WhirlPool"}) {
        SCOPED_TRACE(name);
        try {
            applyEffect(effectNamed(name), scene(), {}, effectNamed(name).initialValues(), {}, control);
            ADD_FAILURE() << "not stopped";
        } catch (const Error& error) {
            EXPECT_EQ(error.code(), ErrorCode::Cancelled);
        }
    }
}

// --- the window ------------------------------------------------------------------------------

namespace {

struct Asked {
    int count = 0;
    QString caption;
    QString question;
    bool answer = false;
};

EffectsWindow::AskYesNo recorder(Asked& asked)
{
    return [&asked](QWidget*, const QString& caption, const QString& question) {
        ++asked.count;
        asked.caption = caption;
        asked.question = question;
        return asked.answer;
    };
}

} // namespace

TEST(EffectsWindow, HasItsCaptionMenusAndButtons)
{
    Asked asked;
    EffectsWindow window(nullptr, recorder(asked));
    window.load(halves());
    EXPECT_EQ(window.windowTitle(), "Filters and Effects");
    QStringList menus;
    for (QAction* action : window.findChild<QMenuBar*>()->actions())
        menus << action->text();
    EXPECT_EQ(menus, (QStringList{"&Image", "&Deformation", "&Correction", "&Transitions"}));
    for (const char* text :
         {"Hide Selection", "Reset Selection", "Reload", "Preview", "Apply", "Stop", "Close and Save"})
        EXPECT_NE(window.findChild<QPushButton*>(text), nullptr) << text;
}

TEST(EffectsWindow, ApplyWorksOnTheCopyAndReloadGoesBack)
{
    Asked asked;
    EffectsWindow window(nullptr, recorder(asked));
    window.load(halves());
    window.chooseEffect("Invert");
    window.canvas().setSelection(QRect(0, 0, 20, 20)); // the red half
    window.Apply();
    window.waitForEffect();
    EXPECT_TRUE(window.changed());
    EXPECT_EQ(window.picture().pixel(5, 5), qRgb(0, 255, 255));
    EXPECT_EQ(window.picture().pixel(30, 5), qRgb(0, 0, 255)) << "outside the selection";
    window.Reload();
    EXPECT_FALSE(window.changed());
    EXPECT_EQ(window.picture(), halves());
}

TEST(EffectsWindow, StopLeavesTheCopyAsItWas)
{
    Asked asked;
    QImage large(3000, 2000, QImage::Format_RGB32);
    large.fill(Qt::darkCyan);
    EffectsWindow window(nullptr, recorder(asked));
    window.load(large);
    window.chooseEffect("Oil Paint");
    window.Apply();
    EXPECT_TRUE(window.actionPending());
    window.Stop();
    window.waitForEffect();
    EXPECT_FALSE(window.actionPending());
    EXPECT_FALSE(window.changed());
    EXPECT_EQ(window.picture(), large);
}

TEST(EffectsWindow, ClosingWithAPreviewPendingAsksAndNoKeepsTheWindowOpen)
{
    Asked asked;
    EffectsWindow window(nullptr, recorder(asked));
    window.load(halves());
    window.show();
    window.CloseAndSave();
    EXPECT_EQ(asked.count, 0) << "nothing pending: no question";
    EXPECT_EQ(window.result(), QDialog::Accepted);

    EffectsWindow pending(nullptr, recorder(asked));
    pending.load(halves());
    pending.show();
    pending.chooseEffect("Blur");
    pending.Preview();
    pending.waitForEffect();
    ASSERT_TRUE(pending.canvas().previewShown());
    asked.answer = false;
    pending.CloseAndSave();
    EXPECT_EQ(asked.count, 1);
    EXPECT_EQ(asked.caption, "Filters and Effects");
    EXPECT_EQ(asked.question, "There is still an action pending. Are you sure you want to exit ?");
    EXPECT_TRUE(pending.isVisible()) << "No leaves the window open";
    EXPECT_FALSE(pending.changed()) << "a preview does not change the copy";
    asked.answer = true;
    pending.CloseAndSave();
    EXPECT_EQ(asked.count, 2);
    EXPECT_FALSE(pending.isVisible());
    EXPECT_EQ(pending.result(), QDialog::Accepted);
}

TEST(EffectsWindow, ThePreviewIsAtMostScreenSize)
{
    Asked asked;
    QImage large(6000, 4000, QImage::Format_RGB32);
    large.fill(Qt::gray);
    EffectsWindow window(nullptr, recorder(asked));
    window.load(large);
    window.chooseEffect("Invert");
    window.Preview();
    window.waitForEffect();
    ASSERT_TRUE(window.canvas().previewShown());
    EXPECT_EQ(window.picture(), large) << "the copy itself is untouched";
}

TEST(EffectsWindow, TheTransitionPanelSetsTheTransitionHandedBack)
{
    Asked asked;
    EffectsWindow window(nullptr, recorder(asked));
    window.load(halves());
    window.setTransition({TransitionKind::Fade, 100, 3, 4});
    window.chooseTransition();
    window.findChild<QComboBox*>("setting0")->setCurrentIndex(static_cast<int>(TransitionKind::RowBlinds));
    window.findChild<QSpinBox*>("setting1")->setValue(750);
    window.CloseAndSave();
    EXPECT_EQ(window.transition(), (DisplayTransition{TransitionKind::RowBlinds, 750, 3, 4}));
}

TEST(EffectsWindow, SettingsAreKeptFromOneUseToTheNext)
{
    Asked asked;
    EffectsWindow window(nullptr, recorder(asked));
    window.load(halves());
    window.chooseEffect("Blur");
    window.findChild<QSpinBox*>("setting0")->setValue(7);
    window.CloseAndSave();
    window.load(scene());
    window.chooseEffect("Mirror");
    window.chooseEffect("Blur");
    EXPECT_EQ(window.findChild<QSpinBox*>("setting0")->value(), 7);
    EXPECT_FALSE(window.changed());
    EXPECT_EQ(window.picture(), scene());
}

// --- transitions -----------------------------------------------------------------------------

TEST(Transitions, FramesRunFromTheOldPictureToExactlyTheNewOne)
{
    QImage from(40, 20, QImage::Format_RGB32);
    from.fill(Qt::red);
    QImage to(40, 20, QImage::Format_RGB32);
    to.fill(Qt::blue);
    for (int kind = 1; kind < transitionNames().size(); ++kind) {
        SCOPED_TRACE(transitionNames()[kind].toStdString());
        const DisplayTransition transition{static_cast<TransitionKind>(kind), 100, 5, 5};
        EXPECT_EQ(transitionFrame(from, to, transition, 0.0), from.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(transitionFrame(from, to, transition, 1.0), to);
        const std::set<QRgb> halfway = colours(transitionFrame(from, to, transition, 0.5));
        EXPECT_NE(halfway, std::set<QRgb>{qRgb(255, 0, 0)});
        EXPECT_NE(halfway, std::set<QRgb>{qRgb(0, 0, 255)});
    }
}

TEST(Transitions, WipesComeInFromTheirSide)
{
    QImage from(40, 20, QImage::Format_RGB32);
    from.fill(Qt::red);
    QImage to(40, 20, QImage::Format_RGB32);
    to.fill(Qt::blue);
    const auto at = [&](TransitionKind kind, int x, int y) {
        return transitionFrame(from, to, {kind, 100, 8, 8}, 0.5).pixel(x, y);
    };
    EXPECT_EQ(at(TransitionKind::WipeRight, 2, 10), qRgb(0, 0, 255));
    EXPECT_EQ(at(TransitionKind::WipeRight, 37, 10), qRgb(255, 0, 0));
    EXPECT_EQ(at(TransitionKind::WipeLeft, 37, 10), qRgb(0, 0, 255));
    EXPECT_EQ(at(TransitionKind::WipeDown, 20, 2), qRgb(0, 0, 255));
    EXPECT_EQ(at(TransitionKind::WipeUp, 20, 2), qRgb(255, 0, 0));
    EXPECT_EQ(at(TransitionKind::ColumnBlinds, 1, 10), qRgb(0, 0, 255));
    EXPECT_EQ(at(TransitionKind::ColumnBlinds, 6, 10), qRgb(255, 0, 0));
    EXPECT_EQ(at(TransitionKind::RowBlinds, 10, 9), qRgb(0, 0, 255));
    EXPECT_EQ(at(TransitionKind::RowBlinds, 10, 14), qRgb(255, 0, 0));
}

TEST(Transitions, ThePlayerEndsAtTheNewSceneWithinTheDelay)
{
    QWidget widget;
    widget.resize(40, 20);
    TransitionPlayer player(widget);
    player.setTransition({TransitionKind::Fade, 120, 8, 8});
    QImage from(40, 20, QImage::Format_RGB32);
    from.fill(Qt::red);
    QImage to(40, 20, QImage::Format_RGB32);
    to.fill(Qt::blue);
    player.leaving(from);
    ASSERT_TRUE(player.active());
    EXPECT_EQ(player.frame(to), from) << "the old picture while the new one is on its way";
    player.arrived();
    QTest::qWait(300);
    EXPECT_FALSE(player.active());
    EXPECT_EQ(player.frame(to), to);
}

TEST(Transitions, NoneLeavesNothingToPlay)
{
    QWidget widget;
    TransitionPlayer player(widget);
    QImage from(4, 4, QImage::Format_RGB32);
    from.fill(Qt::red);
    player.leaving(from);
    EXPECT_FALSE(player.active());
}
