// Writing pictures out: the shown picture to a file in each format or to the clipboard, and the
// marked pictures to numbered files. Files are checked with outside readers.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorSpace>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "outsidetool.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

// A JPEG file full of detail, which smoothing changes.
QByteArray noisePicture(int width, int height)
{
    const QByteArray noise = noiseBytes(width * height * 4, 9);
    QImage image(width, height, QImage::Format_RGB32);
    std::memcpy(image.bits(), noise.constData(), static_cast<std::size_t>(noise.size()));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// sRGB's pure red written in Display P3 coordinates, in a JPEG file with Display P3's profile.
const QColor srgbRedInDisplayP3(234, 51, 35);

QByteArray displayP3Picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(srgbRedInDisplayP3);
    image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 100);
    return bytes;
}

int distance(QColor a, QColor b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportTest : public ProgramTest {
protected:
    // Pictures told apart by their width (10 + record number), the even ones marked; record 5
    // holds no picture, record 7 bytes that are no picture.
    void SetUp() override
    {
        std::vector<TestPicture> pictures;
        for (int n = 1; n <= 10; ++n) {
            QByteArray bytes = pictureFile(10 + n, 8, QColor(20 * n, 100, 50), "JPG");
            if (n == 5)
                bytes.clear();
            if (n == 7)
                bytes = "not a picture at all";
            if (n == 9)
                bytes = noisePicture(19, 16);
            pictures.push_back({"", "picture " + std::to_string(n), {}, false, bytes});
        }
        pictures[1].mark = pictures[3].mark = pictures[7].mark = true; // 2, 4 and 8
        createAlbum(albumDir(), "album", pictures);
        writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
        fs::create_directory(albums.path() / "out");
    }
    QString out(const std::string& name) const { return QString::fromStdString((albums.path() / "out" / name).string()); }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }
    void goTo(int record)
    {
        db().Table1.first();
        db().Table1.moveBy(record - 1);
        pictureView().waitForDisplay();
    }
    // The file the handler wrote when the user chose `name`.
    QString exportAs(const char* handler, const std::string& name)
    {
        dialogs.answerPath(out(name));
        trigger(handler);
        return out(name);
    }
    QString identify(const QString& file, const char* format = "%m %w %h")
    {
        return runTool("identify", {"-format", format, file}).trimmed();
    }
    // A pixel's values as written in the file, as ImageMagick reads them (no colour conversion).
    QColor pixelIn(const QString& file)
    {
        const QStringList values =
            identify(file, "%[fx:round(255*p{5,4}.r)] %[fx:round(255*p{5,4}.g)] %[fx:round(255*p{5,4}.b)]").split(' ');
        return values.size() == 3 ? QColor(values[0].toInt(), values[1].toInt(), values[2].toInt()) : QColor();
    }
    // ImageMagick names the ICC profile's description; without one it warns on its error output.
    bool carriesProfile(const QString& file)
    {
        QProcess identify;
        identify.start("identify", {"-format", "%[profile:icc]", file});
        EXPECT_TRUE(identify.waitForFinished(60000));
        return !identify.readAllStandardOutput().trimmed().isEmpty();
    }
    // Record 4 (marked) gets a Display P3 picture of its width.
    void storeDisplayP3Picture()
    {
        goTo(4);
        const QByteArray p3 = displayP3Picture(14, 8);
        db().Table1.edit();
        db().Table1.fieldByName("FOTO").setAsBytes(paradox::Bytes(p3.begin(), p3.end()));
        db().Table1.refresh();
        pictureView().waitForDisplay();
    }
    std::vector<std::string> outFiles()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(albums.path() / "out"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void batch(const char* handler)
    {
        dialogs.answerPath(out(""));
        trigger(handler);
    }
};

} // namespace

TEST_F(ExportTest, TheSaveDialogOffersTheHandlersKindAndShowsTheLastChosenNameAgain)
{
    dialogs.answerPath(out("first.gif"));
    trigger("GIF1");
    dialogs.answerCancel();
    trigger("PNG1");
    ASSERT_EQ(dialogs.asked.size(), 2u);
    const FileDialogRequest& gif = dialogs.asked[0].request;
    EXPECT_EQ(gif.title, "Save Picture");
    EXPECT_EQ(gif.filters, QStringList({"JPG (*.JPG)", "GIF (*.GIF)", "BMP (*.BMP)", "TIF (*.TIF)", "TGA (*.TGA)",
                                        "PCX (*.PCX)", "PNG (*.PNG)", "EPS (*.EPS)", "All Files (*.*)"}));
    EXPECT_EQ(gif.selectedFilter, 1);
    EXPECT_EQ(gif.defaultSuffix, "gif");
    EXPECT_EQ(gif.directory, QDir::homePath());
    EXPECT_TRUE(gif.fileName.isEmpty());
    const FileDialogRequest& png = dialogs.asked[1].request;
    EXPECT_EQ(png.selectedFilter, 6);
    EXPECT_EQ(png.defaultSuffix, "png");
    EXPECT_EQ(png.fileName, out("first.gif"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(ExportTest, EachHandlerWritesItsOwnFormatWhateverTheNameSays)
{
    goTo(3); // 13 by 8
    const std::vector<std::pair<const char*, const char*>> handlers{
        {"JPG1", "JPEG"}, {"GIF1", "GIF"}, {"BMP1", "BMP"}, {"TIF1", "TIFF"}, {"PCX1", "PCX"}, {"PNG1", "PNG"}};
    for (const auto& [handler, format] : handlers) {
        SCOPED_TRACE(handler);
        // Every one named as a PNG file: "as JPG" to a.png writes JPEG data.
        const QString file = exportAs(handler, std::string(handler) + ".png");
        // Qt's BMP files are version 3 ("BMP3").
        const QString seen = identify(file);
        EXPECT_TRUE(seen.startsWith(format) && seen.endsWith(" 13 8")) << seen.toStdString();
    }
    // TGA files carry no signature: the reader is told the kind.
    const QString tga = exportAs("TGA1", "tga.png");
    EXPECT_EQ(identify("TGA:" + tga), "TGA 13 8");
    const QString eps = exportAs("EPS1", "eps.png");
    EXPECT_TRUE(fileBytes(eps).startsWith("%!PS-Adobe-3.0 EPSF"));
    const QString box = runTool("gs", {"-q", "-dBATCH", "-dNOPAUSE", "-dSAFER", "-sDEVICE=bbox", eps});
    EXPECT_TRUE(box.contains("%%BoundingBox: 0 0 13 8")) << box.toStdString();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(ExportTest, AStoredJpegIsEncodedAgainWithTheQualityAndSmoothingSet)
{
    goTo(9);
    pictureView().setJPegSaveQuality(90);
    const QString fine = exportAs("JPG1", "fine.jpg");
    pictureView().setJPegSaveQuality(10);
    const QString coarse = exportAs("JPG1", "coarse.jpg");
    pictureView().setJPegSaveSmooth(60);
    const QString smooth = exportAs("JPG1", "smooth.jpg");
    EXPECT_NE(fileBytes(fine), noisePicture(19, 16));
    EXPECT_EQ(identify(fine, "%Q"), "90");
    EXPECT_EQ(identify(coarse, "%Q"), "10");
    EXPECT_NE(fileBytes(smooth), fileBytes(coarse));
    EXPECT_EQ(identify(smooth, "%Q"), "10");
}

TEST_F(ExportTest, EachTifCompressionAndPngInterlaceAreWritten)
{
    goTo(2);
    const std::vector<std::pair<imaging::TiffCompression, const char*>> compressions{
        {imaging::TiffCompression::sNONE, "None"},
        {imaging::TiffCompression::sCCITT, "CCITT RLE"},
        {imaging::TiffCompression::sFAXCCITT3, "CCITT Group 3"},
        {imaging::TiffCompression::sFAXCCITT4, "CCITT Group 4"},
        {imaging::TiffCompression::sLZW, "LZW"},
        {imaging::TiffCompression::sPACKBITS, "PackBits"}};
    int n = 0;
    for (const auto& [compression, scheme] : compressions) {
        SCOPED_TRACE(scheme);
        pictureView().setTifSaveCompress(compression);
        const QString file = exportAs("TIF1", std::to_string(n++) + ".tif");
        const QString info = runTool("tiffinfo", {file});
        EXPECT_TRUE(info.contains(QStringLiteral("Compression Scheme: %1\n").arg(scheme))) << info.toStdString();
    }
    pictureView().setPNGInterLaced(true);
    EXPECT_EQ(identify(exportAs("PNG1", "interlaced.png"), "%[interlace]"), "PNG");
    pictureView().setPNGInterLaced(false);
    EXPECT_EQ(identify(exportAs("PNG1", "plain.png"), "%[interlace]"), "None");
}

TEST_F(ExportTest, ANameWithoutExtensionGetsTheHandlersOne)
{
    goTo(1);
    exportAs("TIF1", "noextension");
    EXPECT_EQ(outFiles(), std::vector<std::string>{"noextension.tif"});
    EXPECT_EQ(identify(out("noextension.tif")), "TIFF 11 8");
}

TEST_F(ExportTest, ADisplayP3PictureKeepsItsProfileAndColoursWhereTheFormatHoldsThem)
{
    storeDisplayP3Picture();
    ASSERT_LE(distance(pictureView().picture().pixelColor(5, 4), Qt::red), 8) << "shown in sRGB";
    for (const char* handler : {"JPG1", "PNG1", "TIF1"}) {
        SCOPED_TRACE(handler);
        const QString file = exportAs(handler, std::string(handler) + ".out");
        EXPECT_TRUE(carriesProfile(file));
        EXPECT_LE(distance(pixelIn(file), srgbRedInDisplayP3), 3) << "the picture's own values";
    }
    const QString bmp = exportAs("BMP1", "p3.bmp");
    EXPECT_FALSE(carriesProfile(bmp));
    EXPECT_LE(distance(pixelIn(bmp), Qt::red), 8) << "the sRGB red the picture means";
    goTo(2);
    EXPECT_FALSE(carriesProfile(exportAs("PNG1", "plain.png"))) << "a picture without a profile gets none";
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(ExportTest, TheBatchKeepsAProfileToo)
{
    storeDisplayP3Picture();
    batch("asPNG1");
    EXPECT_FALSE(carriesProfile(out("pic0001.png")));
    EXPECT_TRUE(carriesProfile(out("pic0002.png")));
    EXPECT_LE(distance(pixelIn(out("pic0002.png")), srgbRedInDisplayP3), 3);
    batch("asBMP1");
    EXPECT_FALSE(carriesProfile(out("pic0002.bmp")));
    EXPECT_LE(distance(pixelIn(out("pic0002.bmp")), Qt::red), 8);
    // The run's decode kept for the view is shown in sRGB.
    db().Table1.first();
    db().Table1.next();
    pictureView().waitForDisplay();
    ASSERT_EQ(current(), "picture 4");
    EXPECT_LE(distance(pictureView().picture().pixelColor(5, 4), Qt::red), 8);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(ExportTest, NoPictureStoredOrNoneShownIsAnErrorAndWritesNothing)
{
    goTo(5);
    exportAs("JPG1", "empty.jpg");
    goTo(7);
    exportAs("PNG1", "damaged.png");
    EXPECT_EQ(dialogs.errors,
              QStringList({"Can't save, blobfield is empty",
                           "Can't save, image is not displayed, Set Autodisplay or double click display to view "
                           "image first."}));
    EXPECT_TRUE(outFiles().empty());
}

TEST_F(ExportTest, TheClipboardGetsTheShownPictureAndNothingWhenNoneIsShown)
{
    goTo(4);
    trigger("ExportClipboard1");
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(14, 8));
    QGuiApplication::clipboard()->setText("kept");
    goTo(5);
    trigger("ExportClipboard1");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(ExportTest, TheMarkedPicturesBecomeNumberedFilesInTableOrderAgainUnderTheSameNames)
{
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        batch("asGIF1");
        ASSERT_EQ(dialogs.asked.back().kind, "chooseDirectory");
        EXPECT_EQ(dialogs.asked.back().caption, "Choose a directory");
        EXPECT_EQ(outFiles(), (std::vector<std::string>{"pic0001.gif", "pic0002.gif", "pic0003.gif"}));
        EXPECT_EQ(identify(out("pic0001.gif")), "GIF 12 8");
        EXPECT_EQ(identify(out("pic0002.gif")), "GIF 14 8");
        EXPECT_EQ(identify(out("pic0003.gif")), "GIF 18 8");
        EXPECT_EQ(QDir::currentPath(), QDir::cleanPath(out("")));
        EXPECT_EQ(current(), "picture 8");
        EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
        EXPECT_EQ(progressBar().percent(), 100);
    }
    pictureView().waitForDisplay();
    EXPECT_EQ(pictureView().pictureSize(), QSize(18, 8)) << "the view shows the last one";
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(ExportTest, AFileThatCannotBeSavedIsReportedAndTheBatchGoesOn)
{
    fs::create_directory(albums.path() / "out" / "pic0002.jpg"); // no file can take its place
    QSignalSpy engineErrors(&pictureView(), &TPDBMultiImage::ilibError);
    batch("asJPG1");
    EXPECT_EQ(identify(out("pic0001.jpg")), "JPEG 12 8");
    EXPECT_EQ(identify(out("pic0003.jpg")), "JPEG 18 8");
    EXPECT_TRUE(fs::is_directory(albums.path() / "out" / "pic0002.jpg"));
    ASSERT_EQ(engineErrors.size(), 1);
    const QString text = engineErrors[0][1].toString();
    EXPECT_TRUE(text.startsWith("The picture cannot be saved as " + out("pic0002.jpg"))) << text.toStdString();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << "the engine's errors are the view's event, not a message";
    EXPECT_EQ(current(), "picture 8");
}

TEST_F(ExportTest, ABatchStopsAtTheFirstRecordWithoutAPicture)
{
    for (int n : {4, 5, 6}) {
        goTo(n);
        db().Table1.edit();
        db().Table1.fieldByName("MARK").setAsBoolean(true);
        db().Table1.refresh();
    }
    batch("asJPG1");
    EXPECT_EQ(outFiles(), (std::vector<std::string>{"pic0001.jpg", "pic0002.jpg"}));
    EXPECT_EQ(identify(out("pic0002.jpg")), "JPEG 14 8");
    EXPECT_EQ(dialogs.errors, QStringList{"Can't save, blobfield is empty"});
    EXPECT_EQ(current(), "picture 5");
}

TEST_F(ExportTest, WithoutMarkedPicturesTheFolderIsStillAskedAndNothingWritten)
{
    for (int n : {2, 4, 8}) {
        goTo(n);
        db().Table1.edit();
        db().Table1.fieldByName("MARK").setAsBoolean(false);
        db().Table1.refresh();
    }
    batch("asPNG1");
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(outFiles().empty());
    EXPECT_TRUE(db().Table1.isEmpty());
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(ExportTest, CancellingTheFolderLeavesTheMarkedPicturesShownAndTheFolderAsItWas)
{
    const QString before = QDir::currentPath();
    dialogs.answerCancel();
    trigger("asBMP1");
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_EQ(current(), "picture 2");
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_TRUE(outFiles().empty());
}

// Run under an X server by under-x-server.sh: the clipboard between processes.
TEST_F(ExportTest, OtherProgramsReadTheExportedPictureAcrossProcesses)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server";
    goTo(4);
    trigger("ExportClipboard1");
    QProcess reader;
    reader.start("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
    // This program hands the picture over from its event loop while the other one asks.
    QElapsedTimer waited;
    waited.start();
    while (reader.state() != QProcess::NotRunning && waited.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        reader.waitForFinished(10);
    }
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    QImage read;
    ASSERT_TRUE(read.loadFromData(reader.readAllStandardOutput(), "PNG"));
    EXPECT_EQ(read.size(), QSize(14, 8));
}
