// The picture view bound to the picture field: what it shows, when it reloads, what it
// stores, and its operations with their error texts.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

#include "data/schema.h"
#include "data/tdatasource.h"
#include "data/ttable.h"
#include "exifjpeg.h"
#include "imaging/orientation.h"
#include "imaging/pdbmultiimage.h"
#include "support/tempdir.h"

namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QImage filled(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

paradox::Bytes toBytes(const QByteArray& bytes)
{
    return paradox::Bytes(bytes.begin(), bytes.end());
}

QRgb centrePixel(const QImage& image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}

bool near(QRgb a, QRgb b, int tolerance = 12)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setDatabaseName(dir.str());
        table.setTableName("pics.db");
        table.setExclusive(true);
        table.fieldDefs = schema::pictureTableFields();
        table.createTable();
        table.open();
        for (const QColor& colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
            table.append();
            table.fieldByName("FOTO").setAsBytes(toBytes(encoded(filled(64, 48, colour), "PNG")));
        }
        table.append(); // a record without a picture
        table.fieldByName("NAAM").setAsString("empty");
        table.refresh();
        table.first();
        source.setDataSet(&table);
        view.resize(320, 240);
        view.setDataSource(&source);
        view.show();
    }
    QImage shown()
    {
        view.waitForDisplay();
        return view.picture();
    }
    TempDir dir;
    TTable table;
    TDataSource source;
    TPDBMultiImage view;
};

} // namespace

TEST_F(ViewTest, ShowsThePictureOfTheCurrentRecordAndFollowsMoves)
{
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(255, 0, 0)));
    EXPECT_EQ(view.pictureSize(), QSize(64, 48));
    table.next();
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(0, 255, 0)));
    table.moveBy(2);
    view.waitForDisplay();
    EXPECT_FALSE(view.hasImage());
    EXPECT_TRUE(view.pictureSize().isEmpty());
}

TEST_F(ViewTest, APictureTheAlbumCannotGiveBackRaisesTheErrorEventAndShowsNothing)
{
    table.close();
    // The blob file without the blocks that hold the pictures.
    std::filesystem::resize_file(dir / "pics.mb", 4096);
    QStringList errors;
    QObject::connect(&view, &TPDBMultiImage::ilibError, [&](int, const QString& text) { errors << text; });
    view.setPrefetching(true);
    table.open();
    view.waitForDisplay();
    EXPECT_FALSE(view.hasImage());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("pics.mb")) << errors[0].toStdString();
    table.next();
    QCoreApplication::processEvents(); // the neighbours are read after the picture is shown
    EXPECT_EQ(errors.size(), 2);
}

TEST_F(ViewTest, ADecodeAbortedFromTheProgressEventLeavesNoPictureAndTheNextOneShows)
{
    table.disableControls();
    table.next();
    // Large enough that its decode reports progress well before it ends.
    table.edit();
    table.fieldByName("FOTO").setAsBytes(toBytes(encoded(filled(3000, 2000, Qt::green), "JPG", 90)));
    table.refresh();
    bool aborted = false;
    const QMetaObject::Connection aborting =
        QObject::connect(&view, &TPDBMultiImage::progress, [&](int, const QString&, bool* abort) {
            *abort = true;
            aborted = true;
        });
    table.enableControls();
    // Progress comes as events from the decoding thread.
    QElapsedTimer waited;
    waited.start();
    while (!aborted && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(aborted);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.hasImage());
    QObject::disconnect(aborting);
    table.next();
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(0, 0, 255)));
}

TEST_F(ViewTest, TheProgressOfAShownPictureEndsAtTheEnd)
{
    table.disableControls();
    table.next();
    table.edit();
    table.fieldByName("FOTO").setAsBytes(toBytes(encoded(filled(3000, 2000, Qt::green), "JPG", 90)));
    table.refresh();
    std::vector<int> reported;
    QObject::connect(&view, &TPDBMultiImage::progress,
                     [&](int percent, const QString&, bool*) { reported.push_back(percent); });
    table.enableControls();
    view.waitForDisplay();
    QCoreApplication::processEvents();
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 100) << "the progress bar would stay part-way once the picture is shown";
}

TEST_F(ViewTest, SuspendedControlsDecodeOnlyThePictureWhereTheyResume)
{
    int errors = 0;
    QObject::connect(&view, &TPDBMultiImage::ilibError, [&] { ++errors; });
    table.disableControls();
    table.next();
    table.next();
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(255, 0, 0))) << "still the picture from before the moves";
    table.enableControls();
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(0, 0, 255)));
    EXPECT_EQ(errors, 0);
}

TEST_F(ViewTest, AChangedPictureIsStoredAsJpegWithTheQualitySettingWhenTheRecordIsPosted)
{
    view.setJPegSaveQuality(90);
    table.edit();
    view.setPicture(filled(80, 60, Qt::yellow));
    EXPECT_TRUE(view.modified());
    table.refresh();
    EXPECT_FALSE(view.modified());
    const paradox::Bytes stored = table.fieldByName("FOTO").asBytes();
    ASSERT_GE(stored.size(), 3u);
    EXPECT_EQ(stored[0], 0xFF);
    EXPECT_EQ(stored[1], 0xD8) << "stored as JPEG";
    const QImage back = QImage::fromData(
        QByteArray(reinterpret_cast<const char*>(stored.data()), static_cast<qsizetype>(stored.size())));
    EXPECT_EQ(back.size(), QSize(80, 60));
    EXPECT_TRUE(near(centrePixel(back), qRgb(255, 255, 0)));

    // The quality setting is the one used: a low quality gives a smaller file for a busy picture.
    QImage busy(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            busy.setPixel(x, y, qRgb((x * 37) % 256, (y * 91) % 256, (x * y) % 256));
    auto storedSize = [&](int quality) {
        view.setJPegSaveQuality(quality);
        table.edit();
        view.setPicture(busy);
        table.refresh();
        return table.fieldByName("FOTO").asBytes().size();
    };
    EXPECT_LT(storedSize(10) * 2, storedSize(95));
}

TEST_F(ViewTest, CancelOrAMoveDropsTheChangedPicture)
{
    table.edit();
    view.setPicture(filled(10, 10, Qt::white));
    table.cancel();
    EXPECT_FALSE(view.modified());
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(255, 0, 0)));

    // Changed while browsing: nothing is stored by the move, the stored picture comes back.
    view.setPicture(filled(10, 10, Qt::white));
    table.next();
    table.prior();
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(255, 0, 0)));
    EXPECT_EQ(table.recordCount(), 4);
}

TEST_F(ViewTest, EnteringEditingShowsTheStoredPictureAgain)
{
    view.setPicture(filled(10, 10, Qt::white)); // e.g. an effect, while browsing
    ASSERT_TRUE(view.modified());
    table.edit(); // e.g. ticking a box
    EXPECT_FALSE(view.modified());
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(255, 0, 0)));
    table.refresh();
    EXPECT_EQ(table.fieldByName("FOTO").asBytes(), toBytes(encoded(filled(64, 48, Qt::red), "PNG")))
        << "nothing was assigned, nothing stored";
}

TEST_F(ViewTest, LoadFromFileCopiesTheBytesUnchangedAndChecksTheName)
{
    const QByteArray jpeg = encoded(filled(30, 20, Qt::cyan), "JPG", 70);
    const QString lowerCase = QString::fromStdString((dir / "photo.jpg").string());
    QFile file(lowerCase);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jpeg);
    file.close();
    table.append();
    view.LoadFromFile(lowerCase);
    EXPECT_EQ(table.fieldByName("FOTO").asBytes(), toBytes(jpeg));
    EXPECT_EQ(view.pictureSize(), QSize(30, 20));

    const QString rtf = QString::fromStdString((dir / "letter.RTF").string());
    QFile other(rtf);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("{\\rtf1 hello}");
    other.close();
    try {
        view.LoadFromFile(rtf);
        FAIL() << "an RTF file was loaded";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "This format is not supported by this application");
    }
    try {
        view.LoadFromFile(QString::fromStdString((dir / "missing.jpg").string()));
        FAIL() << "a missing file was loaded";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Input filename isn't valid");
    }
}

TEST_F(ViewTest, SaveAsReencodesTheShownPictureAtFullSize)
{
    const QImage big = filled(2400, 1600, Qt::magenta);
    table.edit();
    table.fieldByName("FOTO").setAsBytes(toBytes(encoded(big, "JPG", 95)));
    table.refresh();
    view.setStretchRatio(true); // shown fitted, far smaller than the picture
    view.waitForDisplay();
    view.setJPegSaveQuality(40);
    const QString path = QString::fromStdString((dir / "out.png").string());
    view.SaveAs(path, imaging::SaveFormat::Jpg);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8")) << "the format is the command's, whatever the name";
    EXPECT_EQ(QImage::fromData(bytes).size(), QSize(2400, 1600));
    EXPECT_NE(bytes, encoded(big, "JPG", 95)) << "newly encoded, not a copy of the stored bytes";
}

TEST_F(ViewTest, SaveAsRefusesAnEmptyFieldAndAPictureThatCannotBeShown)
{
    table.moveBy(3);
    try {
        view.SaveAs(QString::fromStdString((dir / "x.jpg").string()), imaging::SaveFormat::Jpg);
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Can't save, blobfield is empty");
    }
    int errors = 0;
    QObject::connect(&view, &TPDBMultiImage::ilibError, [&] { ++errors; });
    table.edit();
    table.fieldByName("FOTO").setAsBytes({'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    table.refresh();
    view.waitForDisplay();
    EXPECT_EQ(errors, 1) << "the undecodable picture raised the error event";
    try {
        view.SaveAs(QString::fromStdString((dir / "x.jpg").string()), imaging::SaveFormat::Jpg);
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Can't save, image is not displayed, Set Autodisplay or double click display to "
                                   "view image first.");
    }
}

TEST_F(ViewTest, ClipboardCopyAndPaste)
{
    view.CopyToClipboard();
    EXPECT_TRUE(near(centrePixel(QApplication::clipboard()->image()), qRgb(255, 0, 0)));

    QApplication::clipboard()->setText("only text");
    table.next();
    EXPECT_FALSE(view.PasteFromClipboard());
    EXPECT_EQ(table.state(), TDataSetState::dsBrowse);

    QApplication::clipboard()->setImage(filled(20, 20, Qt::darkGreen));
    EXPECT_TRUE(view.PasteFromClipboard());
    EXPECT_EQ(table.state(), TDataSetState::dsEdit);
    EXPECT_TRUE(view.modified());
    EXPECT_EQ(view.pictureSize(), QSize(20, 20));
}

TEST_F(ViewTest, ZoomStaysWithinTheViewsScaleLimits)
{
    view.waitForDisplay();
    const double start = view.zoomScale();
    view.Zoom(2.0);
    EXPECT_DOUBLE_EQ(view.zoomScale(), start * 2.0);
    for (int i = 0; i < 40; ++i)
        view.Zoom(2.0);
    EXPECT_LE(view.zoomScale(), 16.0);
    EXPECT_GT(view.zoomScale(), 8.0);
}

TEST_F(ViewTest, NeighboursDecodedAheadNeverShowInPlaceOfTheCurrentPicture)
{
    view.setPrefetching(true);
    view.setStretchRatio(true);
    view.waitForPrefetch();
    const QRgb expected[] = {qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (const QRgb colour : expected) {
        table.next();
        EXPECT_FALSE(view.pictureSize().isEmpty());
        EXPECT_TRUE(near(centrePixel(shown()), colour));
        view.waitForPrefetch();
    }
    table.first(); // a jump elsewhere
    EXPECT_TRUE(near(centrePixel(shown()), qRgb(255, 0, 0)));
}

// An effect works on the upright picture and what it stores is upright without a tag: shown
// again it is the same picture, not turned a second time.
TEST_F(ViewTest, AnEffectOnATurnedPhotoIsStoredUprightAndShownUprightOnce)
{
    QImage stored(120, 80, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            stored.setPixel(x, y, qRgb(255, 0, 0)); // red top left as stored
    table.last();
    table.edit();
    table.fieldByName("FOTO").setAsBytes(
        toBytes(testexif::withExif(encoded(stored, "JPG", 95), testexif::exifBlock(6, true))));
    table.refresh();
    const QImage upright = shown();
    ASSERT_EQ(upright.size(), QSize(80, 120));
    EXPECT_EQ(view.pictureSize(), QSize(80, 120));
    EXPECT_TRUE(near(upright.pixel(60, 30), qRgb(255, 0, 0))) << "red now top right";

    QImage effect = upright.copy();
    effect.invertPixels();
    view.setJPegSaveQuality(95);
    table.edit();
    view.setPicture(effect);
    table.refresh();
    const paradox::Bytes written = table.fieldByName("FOTO").asBytes();
    const QByteArray bytes(reinterpret_cast<const char*>(written.data()), static_cast<qsizetype>(written.size()));
    EXPECT_EQ(imaging::storedOrientation(bytes, imaging::PictureFormat::Jpeg), imaging::Orientation::TopLeft);

    table.prior();
    shown();
    table.next();
    const QImage again = shown();
    ASSERT_EQ(again.size(), QSize(80, 120));
    EXPECT_TRUE(near(again.pixel(60, 30), qRgb(0, 255, 255))) << "the inverted red, still top right";
    EXPECT_TRUE(near(again.pixel(20, 30), qRgb(255, 255, 0)));
}
