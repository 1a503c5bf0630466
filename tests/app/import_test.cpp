// Adding pictures: one file through the Open File window, many files, the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "framework/directorylistbox.h"
#include "framework/filelistbox.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"
#include "pictures/mmopendialog.h"
#include "programfixture.h"
#include "support/filesizelimit.h"

namespace fs = std::filesystem;

namespace {

class ImportTest : public ProgramTest {
protected:
    void SetUp() override
    {
        fs::create_directory(albums.path() / "in");
        createAlbum(albumDir(), "album", {{"", "old one", {3}}, {"", "old two"}});
        writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
    }
    // Writes a picture file into the input folder; returns its full path.
    QString writeFile(const std::string& name, const QByteArray& bytes)
    {
        const QString path = QString::fromStdString((albums.path() / "in" / name).string());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    void answerOpenFile(const QString& path, int kind = 0)
    {
        modals.onNextModal([path, kind](QDialog& dialog) {
            auto& window = static_cast<TMMOpenDialog&>(dialog);
            window.kindBox()->setCurrentIndex(kind);
            window.directoryList()->setDirectory(QFileInfo(path).absolutePath());
            window.fileList()->selectFile(path);
            window.okButton()->click();
        });
    }
    paradox::Bytes storedPicture(int recordNumber)
    {
        TTable& pictures = db().Table1;
        pictures.first();
        pictures.moveBy(recordNumber - 1);
        return pictures.fieldByName("FOTO").asBytes();
    }
};

} // namespace

TEST_F(ImportTest, OneFileIsStoredUnchangedWithItsPathCutToFortyBytes)
{
    // 41 bytes and more of path: the name field keeps the first 40.
    const QByteArray jpeg = pictureFile(64, 48, Qt::red, "JPG");
    const QString path = writeFile("a-rather-long-picture-name.jpg", jpeg);
    ASSERT_GT(path.size(), 40);
    trigger("ShowChecked1"); // a filter in force is lifted first
    answerOpenFile(path);
    trigger("ImportSingle1");
    TTable& pictures = db().Table1;
    EXPECT_EQ(pictures.state(), TDataSetState::dsInsert) << "left pending until the next move";
    EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked());
    pictures.refresh();
    EXPECT_EQ(pictures.recordCount(), 3);
    EXPECT_EQ(pictures.fieldByName("NAAM").asString(), path.left(40).toStdString());
    EXPECT_EQ(pictures.fieldByName("FOTO").asBytes(), paradox::Bytes(jpeg.begin(), jpeg.end()));
    EXPECT_FALSE(pictures.fieldByName("3").asBoolean()) << "in no category";
    EXPECT_FALSE(pictures.fieldByName("MARK").asBoolean());
    EXPECT_EQ(positionBar().maximum(), 2) << "the pending record was not counted yet";
}

TEST_F(ImportTest, TheSameFileTwiceGivesTwoEqualRecords)
{
    const QString path = writeFile("same.png", pictureFile(20, 20, Qt::blue));
    answerOpenFile(path);
    trigger("ImportSingle1");
    answerOpenFile(path);
    trigger("ImportSingle1");
    db().Table1.refresh();
    ASSERT_EQ(db().Table1.recordCount(), 4);
    EXPECT_EQ(storedPicture(3), storedPicture(4));
    EXPECT_EQ(db().Table1.fieldByName("NAAM").asString(), path.left(40).toStdString());
}

TEST_F(ImportTest, AnRtfFileIsRefusedAndItsEmptyRecordDropped)
{
    const QString path = writeFile("letter.rtf", "{\\rtf1 hello}");
    answerOpenFile(path, 7); // the kind "RTF"
    trigger("ImportSingle1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], "This format is not supported by this application");
    click("SpeedButton2");
    EXPECT_EQ(db().Table1.recordCount(), 2);
}

TEST_F(ImportTest, AnImportLeftPendingIsStoredAtShutdown)
{
    const QString path = writeFile("last.png", pictureFile(10, 10, Qt::green));
    answerOpenFile(path);
    trigger("ImportSingle1");
    stop();
    TTable pictures;
    pictures.setDatabaseName(albumDir());
    pictures.setTableName("album.db");
    pictures.open();
    EXPECT_EQ(pictures.recordCount(), 3);
}

TEST_F(ImportTest, ManyFilesShowTheirProgressAndTheLastIsLeftPending)
{
    QStringList paths;
    for (int i = 0; i < 4; ++i)
        paths << writeFile("many" + std::to_string(i) + ".png", pictureFile(8 + i, 8, Qt::yellow));
    dialogs.answerPaths(paths);
    progressBar().setPercent(60);
    std::vector<int> shown;
    QObject::connect(&progressBar(), &QProgressBar::valueChanged, [&](int value) { shown.push_back(value); });
    trigger("ImportMulti1");
    EXPECT_EQ(shown, (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(dialogs.asked[0].request.directory, QDir::homePath());
    TTable& pictures = db().Table1;
    EXPECT_EQ(pictures.state(), TDataSetState::dsInsert);
    EXPECT_EQ(pictures.fieldByName("NAAM").asString(), paths[3].left(40).toStdString());
    EXPECT_EQ(positionBar().maximum(), 5);
    pictures.refresh();
    EXPECT_EQ(pictures.recordCount(), 6);
    for (int i = 0; i < 4; ++i) {
        QFile file(paths[i]);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(storedPicture(3 + i), paradox::Bytes(bytes.begin(), bytes.end())) << "file " << i;
    }
}

TEST_F(ImportTest, ABadFileStopsAMultipleImportThere)
{
    QStringList paths{writeFile("good1.png", pictureFile(5, 5, Qt::red)),
                      writeFile("good2.png", pictureFile(6, 6, Qt::red)), writeFile("bad.txt", "text"),
                      writeFile("good3.png", pictureFile(7, 7, Qt::red))};
    dialogs.answerPaths(paths);
    trigger("ImportMulti1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], "This format is not supported by this application");
    EXPECT_EQ(progressBar().percent(), 50) << "the bar stays at the failing file";
    EXPECT_EQ(positionBar().maximum(), 2) << "the position bar is not updated";
    click("SpeedButton2"); // the empty record of the failing file is dropped
    EXPECT_EQ(db().Table1.recordCount(), 4);
}

TEST_F(ImportTest, TheClipboardsPictureBecomesANewRecordAndTextAddsNothing)
{
    click("RzDBLabel3");
    QApplication::clipboard()->setText("just words");
    trigger("ImportClipboard1");
    EXPECT_EQ(db().Table1.recordCount(), 2);
    EXPECT_FALSE(control<QToolButton>("SpeedButton7").isChecked()) << "the filter is off all the same";

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QApplication::clipboard()->setImage(picture);
    trigger("ImportClipboard1");
    EXPECT_EQ(db().Table1.recordCount(), 3);
    EXPECT_EQ(positionBar().maximum(), 3);
    const paradox::Bytes stored = db().Table1.fieldByName("FOTO").asBytes();
    ASSERT_GT(stored.size(), 2u);
    EXPECT_EQ(stored[0], 0xFF) << "stored as JPEG";
    EXPECT_TRUE(db().Table1.fieldByName("NAAM").asString().empty());
}

TEST_F(ImportTest, EachFileIsReadAtItsOwnStepSoOneGoingAwayLaterChangesNothing)
{
    QStringList paths{writeFile("first.png", pictureFile(5, 5, Qt::red)),
                      writeFile("second.png", pictureFile(6, 6, Qt::green)),
                      writeFile("third.png", pictureFile(7, 7, Qt::blue))};
    QFile first(paths[0]);
    first.open(QIODevice::ReadOnly);
    const QByteArray firstBytes = first.readAll();
    // As the second file's turn begins, the first (already loaded) goes away; as the third's
    // begins, the third does (a card pulled out).
    QObject::connect(&progressBar(), &QProgressBar::valueChanged, [&paths](int percent) {
        if (percent == 33)
            QFile::remove(paths[0]);
        if (percent == 66)
            QFile::remove(paths[2]);
    });
    dialogs.answerPaths(paths);
    trigger("ImportMulti1");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], "Input filename isn't valid") << "the missing file fails at its own step";
    click("SpeedButton2");
    EXPECT_EQ(dialogs.errors.size(), 1) << "nothing is left that fails again";
    EXPECT_EQ(db().Table1.state(), TDataSetState::dsBrowse);
    ASSERT_EQ(db().Table1.recordCount(), 4);
    EXPECT_EQ(storedPicture(3), paradox::Bytes(firstBytes.begin(), firstBytes.end()));
}

TEST_F(ImportTest, APictureThatCannotBeStoredIsNamedAndDroppedLeavingTheAlbumUsable)
{
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << writeFile("big" + std::to_string(i) + ".jpg", noiseBytes(700 << 10, static_cast<unsigned>(i)));
    dialogs.answerPaths(paths);
    {
        const FileSizeLimit diskFull(1 << 20);
        trigger("ImportMulti1");
    }
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(paths[1] + " could not be stored")) << dialogs.errors[0].toStdString();
    EXPECT_EQ(db().Table1.state(), TDataSetState::dsBrowse);
    click("SpeedButton2");
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(db().Table1.recordCount(), 3) << "the pictures before it are stored";
}

TEST_F(ImportTest, TheLastPictureOfAMultipleImportIsCurrentAndShown)
{
    const QStringList paths{writeFile("a.png", pictureFile(9, 9, Qt::red)),
                            writeFile("b.png", pictureFile(31, 17, Qt::blue))};
    dialogs.answerPaths(paths);
    trigger("ImportMulti1");
    TPDBMultiImage& view = control<TPDBMultiImage>("PDBMultiImage1");
    view.waitForDisplay();
    EXPECT_EQ(view.picture().size(), QSize(31, 17));
    EXPECT_EQ(db().Table1.fieldByName("NAAM").asString(), paths[1].left(40).toStdString());
}

TEST_F(ImportTest, AFileThatCannotBeDecodedLeavesAnEmptyViewWithoutScrollBars)
{
    // A sound header claiming a big picture, then nothing a decoder can use.
    QByteArray broken = pictureFile(3000, 2000, Qt::red).left(60);
    broken.append(QByteArray(300, '\x5a'));
    const QString path = writeFile("broken.png", broken);
    answerOpenFile(path);
    trigger("ImportSingle1");
    TPDBMultiImage& view = control<TPDBMultiImage>("PDBMultiImage1");
    view.waitForDisplay();
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.hasImage());
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(progressBar().percent(), 100) << "the failed decode has ended";
    EXPECT_TRUE(dialogs.errors.isEmpty()) << "engine failures show nothing";
}

TEST_F(ImportTest, HeicAvifAndWebPPicturesAreStoredAsTheirOwnBytesShownAndSaved)
{
    const QByteArray png = pictureFile(64, 48, QColor(200, 30, 30));
    TPDBMultiImage& view = control<TPDBMultiImage>("PDBMultiImage1");
    for (const QString kind : {"HEIC", "AVIF", "WEBP"}) {
        SCOPED_TRACE(kind.toStdString());
        const QByteArray bytes = convertedPicture(png, {"-quality", "95"}, kind + ":-");
        ASSERT_FALSE(bytes.isEmpty());
        const QString path = writeFile("photo." + kind.toLower().toStdString(), bytes);
        answerOpenFile(path); // offered among "All"
        trigger("ImportSingle1");
        EXPECT_TRUE(dialogs.errors.isEmpty());
        db().Table1.refresh();
        EXPECT_EQ(db().Table1.fieldByName("FOTO").asBytes(), paradox::Bytes(bytes.begin(), bytes.end()));
        view.waitForDisplay();
        ASSERT_TRUE(view.hasImage());
        const QImage shown = view.picture();
        ASSERT_EQ(shown.size(), QSize(64, 48));
        const QColor centre = shown.pixelColor(32, 24);
        EXPECT_LE(std::max({std::abs(centre.red() - 200), std::abs(centre.green() - 30), std::abs(centre.blue() - 30)}),
                  20)
            << centre.name().toStdString();

        const QString saved = QString::fromStdString((albums.path() / "in" / "saved.png").string());
        view.SaveAs(saved, imaging::SaveFormat::Png);
        const QImage readBack(saved);
        EXPECT_EQ(readBack.size(), QSize(64, 48));
        EXPECT_EQ(readBack.pixel(32, 24), shown.pixel(32, 24));
    }
    EXPECT_EQ(db().Table1.recordCount(), 5);
}

TEST_F(ImportTest, APortraitPhotoStoredSidewaysIsShownAndFittedAsAPortrait)
{
    // Stored 1200 × 800 with the tag "turn a quarter clockwise".
    const QByteArray sideways = convertedPicture(pictureFile(1200, 800, Qt::darkGreen), {"-orient", "RightTop"}, "TIFF:-");
    ASSERT_FALSE(sideways.isEmpty());
    answerOpenFile(writeFile("portrait.tif", sideways));
    trigger("ImportSingle1");
    TPDBMultiImage& view = control<TPDBMultiImage>("PDBMultiImage1");
    view.setStretchRatio(true);
    EXPECT_EQ(view.pictureSize(), QSize(800, 1200)) << "known upright from the header";
    view.waitForDisplay();
    const QSize display = view.displaySize();
    const double fit = std::min(display.width() / 800.0, display.height() / 1200.0);
    EXPECT_NEAR(view.zoomScale(), fit, 0.01);
    EXPECT_EQ(view.picture().size(), QSize(800, 1200));
}
