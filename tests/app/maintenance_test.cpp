// Deleting the shown picture, marking and unmarking all visible pictures, and what becomes of
// a picture processed in the effects window as the record is edited, stored or left.
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>

#include <set>

#include "framework/directorylistbox.h"
#include "framework/filelistbox.h"
#include "imaging/decoder.h"
#include "imaging/effects/effectswindow.h"
#include "imaging/encoder.h"
#include "imaging/orientation.h"
#include "imaging/pictureformat.h"
#include "pictures/mmopendialog.h"
#include "pictures/picturemaintenance.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

class MaintenanceTest : public ProgramTest {
protected:
    // Pictures "1".."6": category 3 holds 2, 4 and 5; the marked ones as given.
    void openAlbum(const std::set<int>& marked = {6})
    {
        std::vector<TestPicture> pictures;
        for (int n = 1; n <= 6; ++n)
            pictures.push_back({"", std::to_string(n),
                                n == 2 || n == 4 || n == 5 ? std::vector<int>{3} : std::vector<int>{},
                                marked.count(n) > 0});
        createAlbum(albumDir(), "upkeep", pictures);
        writeRegDb({264, 52, 742, 630, true, "upkeep", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    int storedKey() { return db().Table3.fieldByName("KEY").asInteger(); }
    // The names of the marked pictures, the filter switched off to see them all.
    std::set<std::string> markedPictures()
    {
        click("SpeedButton7");
        std::set<std::string> marked;
        TTable& pictures = db().Table1;
        for (pictures.first(); !pictures.eof(); pictures.next())
            if (pictures.fieldByName("MARK").asBoolean())
                marked.insert(current());
        return marked;
    }
};

} // namespace

TEST_F(MaintenanceTest, DeletingTheOnlyPictureLeavesAnEmptyAlbumAtPositionZero)
{
    createAlbum(albumDir(), "single", {{"", "alone"}});
    writeRegDb({264, 52, 742, 630, true, "single", albumDir()});
    start();
    ASSERT_TRUE(form().albumOpen());
    trigger("DeletePicture1");
    EXPECT_EQ(db().Table1.recordCount(), 0);
    EXPECT_EQ(positionBar().value(), 0);
    EXPECT_EQ(paneText("RzStatusPane3"), "0");
    EXPECT_EQ(storedKey(), 0);
    trigger("DeletePicture1"); // on an empty album: nothing
    EXPECT_EQ(db().Table1.recordCount(), 0);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(MaintenanceTest, DeletingUnderACategoryStaysInTheCategoryAndKeyCountsThePicturesLeft)
{
    openAlbum();
    click("RzDBLabel3"); // category 3: pictures 2, 4, 5
    form().state().ZoomStep = 4;
    ASSERT_EQ(positionBar().maximum(), 6);
    trigger("DeletePicture1");
    EXPECT_EQ(current(), "4");
    EXPECT_EQ(form().state().ZoomStep, 0);
    EXPECT_EQ(positionBar().maximum(), 5);
    EXPECT_EQ(paneText("RzStatusPane3"), "1");
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked()) << "the filter stays in force";
    EXPECT_EQ(storedKey(), 5);
    click("SpeedButton2"); // picture 5, the category's last
    trigger("DeletePicture1");
    EXPECT_EQ(current(), "4") << "the category's picture before it";
    EXPECT_EQ(paneText("RzStatusPane3"), "1");
    EXPECT_EQ(positionBar().maximum(), 4);
    EXPECT_EQ(storedKey(), 4);
    click("SpeedButton7");
    std::vector<std::string> left;
    TTable& pictures = db().Table1;
    for (pictures.first(); !pictures.eof(); pictures.next())
        left.push_back(current());
    EXPECT_EQ(left, (std::vector<std::string>{"1", "3", "4", "6"}));
}

TEST_F(MaintenanceTest, APendingNewRecordIsDroppedAndNothingStoredIsDeleted)
{
    openAlbum();
    TTable& pictures = db().Table1;
    pictures.append();
    pictures.fieldByName("NAAM").setAsString("pending");
    trigger("DeletePicture1");
    EXPECT_EQ(pictures.recordCount(), 6);
    EXPECT_EQ(storedKey(), 6);
    // The pending record was never counted on the bar, so the bar keeps its maximum.
    EXPECT_EQ(positionBar().maximum(), 6);
    std::set<std::string> names;
    for (pictures.first(); !pictures.eof(); pictures.next())
        names.insert(current());
    EXPECT_EQ(names, (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(MaintenanceTest, MarkAllUnderACategoryMarksExactlyThatCategory)
{
    openAlbum({6});
    click("RzDBLabel3");
    trigger("MarkallPictures1");
    EXPECT_EQ(current(), "5") << "the last visible picture is current";
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked()) << "the filter stays in force";
    EXPECT_EQ(progressBar().value(), progressBar().maximum());
    EXPECT_EQ(markedPictures(), (std::set<std::string>{"2", "4", "5", "6"}));
}

TEST_F(MaintenanceTest, UnmarkAllUnderACategoryLeavesTheOtherMarks)
{
    openAlbum({1, 2, 4, 6});
    click("RzDBLabel3");
    trigger("Unmarkallpictures1");
    EXPECT_EQ(markedPictures(), (std::set<std::string>{"1", "6"}));
}

// Each unmarked picture leaves the filter of the marked ones as it is stored; the walk still
// goes on to the next marked picture, so runs of neighbours are all reached.
TEST_F(MaintenanceTest, UnmarkAllUnderTheMarkedFilterVisitsEachMarkedPictureOnce)
{
    openAlbum({1, 2, 3, 5, 6});
    trigger("ShowChecked1");
    ASSERT_EQ(current(), "1");
    trigger("Unmarkallpictures1");
    EXPECT_TRUE(markedPictures().empty());
}

TEST_F(MaintenanceTest, EachVisiblePictureIsWrittenOnceUnderTheMarkedFilter)
{
    openAlbum({1, 2, 3, 5, 6});
    PictureMaintenance maintenance(db(), pictureView(), dialogs, form());
    trigger("ShowChecked1");
    EXPECT_EQ(maintenance.markAll(), 5) << "marking keeps them all visible";
    EXPECT_EQ(maintenance.unmarkAll(), 5) << "unmarking takes each out of the filter as it goes";
    EXPECT_EQ(maintenance.unmarkAll(), 0) << "none visible any more";
}

TEST_F(MaintenanceTest, MarkAllWithoutAFilterMarksEveryPicture)
{
    openAlbum({});
    trigger("MarkallPictures1");
    EXPECT_EQ(current(), "6");
    EXPECT_EQ(markedPictures().size(), 6u);
    trigger("Unmarkallpictures1");
    EXPECT_TRUE(markedPictures().empty());
}

// --- effects and the record's editing --------------------------------------------------------

namespace {

QImage decoded(const paradox::Bytes& bytes)
{
    return imaging::decode(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())), {}).image;
}

class EffectsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        red_ = pictureFile(40, 30, Qt::red);
        createAlbum(albumDir(), "fx",
                    {{"", "first", {}, false, red_}, {"", "second", {}, false, pictureFile(40, 30, Qt::blue)}});
        writeRegDb({264, 52, 742, 630, true, "fx", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
        pictureView().waitForDisplay();
    }
    // Runs the effects window as a user would: invert the picture, then close and save.
    void invertAndSave()
    {
        modals.onNextModal([](QDialog& dialog) {
            auto& window = static_cast<imaging::EffectsWindow&>(dialog);
            window.chooseEffect("Invert");
            window.Apply();
            window.waitForEffect();
            window.CloseAndSave();
        });
        trigger("Processing1");
    }
    paradox::Bytes storedFirst()
    {
        TTable& pictures = db().Table1;
        pictures.first();
        return pictures.fieldByName("FOTO").asBytes();
    }
    QByteArray red_;
};

} // namespace

TEST_F(EffectsTest, AnEffectThenAMoveBackLeavesTheStoredPictureUnchanged)
{
    invertAndSave();
    EXPECT_TRUE(pictureView().modified());
    EXPECT_EQ(pictureView().picture().pixel(5, 5), qRgb(0, 255, 255)) << "the processed picture is shown";
    click("SpeedButton2");
    click("SpeedButton1");
    EXPECT_FALSE(pictureView().modified());
    EXPECT_EQ(storedFirst(), paradox::Bytes(red_.begin(), red_.end()));
}

TEST_F(EffectsTest, TickingCheckFirstStoresTheProcessedPictureAsJpegOnTheMove)
{
    click("RzDBCheckBox25");
    invertAndSave();
    click("SpeedButton2");
    const paradox::Bytes stored = storedFirst();
    ASSERT_GE(stored.size(), 2u);
    EXPECT_EQ(stored[0], 0xFF);
    EXPECT_EQ(stored[1], 0xD8);
    const QColor colour = decoded(stored).pixelColor(20, 15);
    EXPECT_LT(colour.red(), 16);
    EXPECT_GT(colour.green(), 240);
    EXPECT_GT(colour.blue(), 240);
    EXPECT_TRUE(db().Table1.fieldByName("MARK").asBoolean());
}

TEST_F(EffectsTest, TickingCheckAfterAnEffectShowsTheStoredPictureAgain)
{
    invertAndSave();
    click("RzDBCheckBox25");
    EXPECT_FALSE(pictureView().modified());
    EXPECT_EQ(pictureView().picture().pixel(5, 5), qRgb(255, 0, 0));
    click("SpeedButton2");
    EXPECT_EQ(storedFirst(), paradox::Bytes(red_.begin(), red_.end()));
}

TEST_F(EffectsTest, AnEffectOnASidewaysPhotoIsStoredUprightAndShownUprightOnce)
{
    // Stored 60 × 40, red left and blue right, tagged "turn a quarter clockwise": upright it is
    // 40 × 60, red above and blue below.
    QImage stored(60, 40, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x)
            stored.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "PNG");
    const QByteArray sideways = convertedPicture(png, {"-orient", "RightTop"}, "TIFF:-");
    ASSERT_FALSE(sideways.isEmpty());
    TTable& pictures = db().Table1;
    pictures.first();
    pictures.edit();
    pictures.fieldByName("FOTO").setAsBytes(paradox::Bytes(sideways.begin(), sideways.end()));
    pictures.refresh();
    pictureView().waitForDisplay();
    ASSERT_EQ(pictureView().picture().size(), QSize(40, 60));

    click("RzDBCheckBox25"); // the record is being edited, so the effect reaches it
    invertAndSave();
    click("SpeedButton2");
    const paradox::Bytes processed = storedFirst();
    const QByteArray bytes(reinterpret_cast<const char*>(processed.data()), qsizetype(processed.size()));
    EXPECT_EQ(imaging::storedOrientation(bytes, imaging::sniffFormat(bytes)), imaging::Orientation::TopLeft)
        << "written upright, without a turn to apply";
    pictureView().waitForDisplay(); // back on the first picture, as read from the album
    EXPECT_FALSE(pictureView().modified());
    const QImage shown = pictureView().picture();
    ASSERT_EQ(shown.size(), QSize(40, 60)) << "turned once, not twice";
    const auto near = [](QColor colour, QColor expected) {
        return std::abs(colour.red() - expected.red()) < 40 && std::abs(colour.green() - expected.green()) < 40 &&
               std::abs(colour.blue() - expected.blue()) < 40;
    };
    EXPECT_TRUE(near(shown.pixelColor(20, 10), QColor(0, 255, 255))) << "inverted red above";
    EXPECT_TRUE(near(shown.pixelColor(20, 50), QColor(255, 255, 0))) << "inverted blue below";
}

TEST_F(EffectsTest, ClosingWithoutSavingChangesNothing)
{
    modals.onNextModal([](QDialog& dialog) {
        auto& window = static_cast<imaging::EffectsWindow&>(dialog);
        window.chooseEffect("Invert");
        window.Apply();
        window.waitForEffect();
        window.findChild<QToolButton*>("CloseWithoutSaving")->click();
    });
    trigger("Processing1");
    EXPECT_FALSE(pictureView().modified());
    EXPECT_EQ(pictureView().picture().pixel(5, 5), qRgb(255, 0, 0));
}

TEST_F(EffectsTest, AnEffectOnAJustImportedJpegReplacesItsBytesWithTheProcessedJpeg)
{
    const QByteArray jpeg = pictureFile(48, 32, QColor(200, 40, 90), "JPG");
    fs::create_directory(albums.path() / "in");
    const QString path = QString::fromStdString((albums.path() / "in" / "import.jpg").string());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jpeg);
    file.close();
    modals.onNextModal([path](QDialog& dialog) {
        auto& window = static_cast<TMMOpenDialog&>(dialog);
        window.kindBox()->setCurrentIndex(0);
        window.directoryList()->setDirectory(QFileInfo(path).absolutePath());
        window.fileList()->selectFile(path);
        window.okButton()->click();
    });
    trigger("ImportSingle1");
    ASSERT_EQ(db().Table1.state(), TDataSetState::dsInsert);
    pictureView().setJPegSaveQuality(70);
    invertAndSave();
    click("SpeedButton2");
    TTable& pictures = db().Table1;
    ASSERT_EQ(pictures.recordCount(), 3);
    pictures.last();
    const paradox::Bytes stored = pictures.fieldByName("FOTO").asBytes();
    const QImage expected =
        imaging::applyEffect(imaging::effectNamed("Invert"), imaging::decode(jpeg, {}).image, {}, {}, {}, {});
    const QByteArray encoded = imaging::encode(expected, imaging::SaveFormat::Jpg, pictureView().settings(), {});
    EXPECT_EQ(stored, paradox::Bytes(encoded.begin(), encoded.end()));
    EXPECT_NE(stored, paradox::Bytes(jpeg.begin(), jpeg.end()));
}

TEST_F(EffectsTest, TheTransitionChosenThereIsKeptByTheViewAndEndsAtTheNewPicture)
{
    modals.onNextModal([](QDialog& dialog) {
        auto& window = static_cast<imaging::EffectsWindow&>(dialog);
        window.setTransition({imaging::TransitionKind::WipeRight, 2000, 10, 10});
        window.CloseAndSave();
    });
    trigger("Processing1");
    const imaging::DisplayTransition kept = pictureView().transition();
    EXPECT_EQ(kept.kind, imaging::TransitionKind::WipeRight);
    EXPECT_EQ(kept.delay, 2000);
    EXPECT_FALSE(pictureView().modified()) << "no effect applied: the picture is left alone";
    const auto centre = [this] {
        QWidget& screen = *pictureView().viewport();
        return screen.grab().toImage().pixel(screen.width() / 2, screen.height() / 2);
    };
    ASSERT_EQ(centre(), qRgb(255, 0, 0));
    click("SpeedButton2");
    pictureView().waitForDisplay();
    EXPECT_EQ(centre(), qRgb(255, 0, 0)) << "the wipe has not reached the middle yet";
    QTest::qWait(2300);
    EXPECT_EQ(centre(), qRgb(0, 0, 255));
}
