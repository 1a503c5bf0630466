#include <QLabel>
#include <QSignalSpy>

#include "pictures/picturepreview.h"
#include "picturefiles.h"

class PicturePreviewTest : public PictureFolder {
protected:
    // Waits for the running decode to report; false when none does.
    bool waitForPreview() { return finished.count() > 0 || finished.wait(20000); }

    QString sizeText() const { return preview.findChild<QLabel*>("PreviewSize")->text(); }

    PicturePreview preview;
    QSignalSpy finished{&preview, &PicturePreview::finished};
};

TEST_F(PicturePreviewTest, JpegIsFittedIntoTheBoxOffTheWindowThread)
{
    savePicture("wide.jpg", {400, 300}, QColor(200, 30, 30));
    preview.showFile(path("wide.jpg"));
    // Still decoding when the call returns: the window thread never waits for the codec.
    EXPECT_EQ(preview.state(), PicturePreview::State::Loading);
    ASSERT_TRUE(waitForPreview());
    EXPECT_EQ(preview.state(), PicturePreview::State::Shown);
    EXPECT_EQ(sizeText(), "400 × 300");
    const QImage shown = preview.shownImage();
    EXPECT_EQ(shown.size(), QSize(240, 180));
    EXPECT_NEAR(shown.pixelColor(120, 90).red(), 200, 8);
    EXPECT_NEAR(shown.pixelColor(120, 90).green(), 30, 8);
}

TEST_F(PicturePreviewTest, PngKeepsItsShapeAndSmallPicturesAreNotEnlarged)
{
    savePicture("tall.png", {90, 300}, Qt::blue);
    savePicture("icon.png", {32, 16});
    preview.showFile(path("tall.png"));
    ASSERT_TRUE(waitForPreview());
    EXPECT_EQ(preview.shownImage().size(), QSize(54, 180));
    EXPECT_EQ(sizeText(), "90 × 300");

    finished.clear();
    preview.showFile(path("icon.png"));
    ASSERT_TRUE(waitForPreview());
    EXPECT_EQ(preview.shownImage().size(), QSize(32, 16));
}

TEST_F(PicturePreviewTest, OnlyTheNewestSelectionIsAnswered)
{
    savePicture("big.jpg", {3000, 2000});
    saveDamagedJpeg("broken.jpg");
    savePicture("small.png", {50, 50}, Qt::green);
    preview.showFile(path("big.jpg"));
    preview.showFile(path("broken.jpg")); // fails fast: would overtake the others if answered
    preview.showFile(path("small.png"));
    ASSERT_TRUE(waitForPreview());
    EXPECT_EQ(finished.at(0).at(0).toString(), path("small.png"));
    EXPECT_EQ(preview.pictureSize(), QSize(50, 50));

    // Cleared while decoding: nothing arrives, and the same file is decoded anew afterwards.
    finished.clear();
    preview.showFile(path("big.jpg"));
    preview.showFile({});
    EXPECT_EQ(preview.state(), PicturePreview::State::Empty);
    preview.showFile(path("small.png"));
    ASSERT_TRUE(waitForPreview());
    EXPECT_EQ(finished.at(0).at(0).toString(), path("small.png"));
}
