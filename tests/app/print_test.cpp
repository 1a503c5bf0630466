// Printing: the printer setup, the shown picture and the marked pictures, printed to PDF files
// (checked with poppler's tools) and, under a private print server, as real print jobs.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QThread>
#include <QToolButton>

#include <cstring>

#include "outsidetool.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

// A picture whose every pixel differs from its neighbours, stored losslessly (PNG).
QImage noiseImage(int width, int height, unsigned seed)
{
    const QByteArray noise = noiseBytes(width * height * 4, seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), noise.constData() + y * width * 4, static_cast<std::size_t>(width) * 4);
    return image.convertToFormat(QImage::Format_RGB32); // alpha bytes ignored from here on
}

QByteArray pngFile(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Colours compared only (images read from files carry colour spaces of their own).
int differingPixels(const QImage& one, const QImage& other)
{
    int differing = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x)
            differing += qRgb(qRed(one.pixel(x, y)), qGreen(one.pixel(x, y)), qBlue(one.pixel(x, y))) !=
                         qRgb(qRed(other.pixel(x, y)), qGreen(other.pixel(x, y)), qBlue(other.pixel(x, y)));
    return differing;
}

// One line of `pdfimages -list`: the image's width, height and horizontal ppi.
struct ListedImage {
    int width = 0, height = 0, ppi = 0;
};
std::vector<ListedImage> imagesIn(const QString& pdf)
{
    std::vector<ListedImage> images;
    const QStringList lines = runTool("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(' ');
        if (columns.size() > 12)
            images.push_back({columns[3].toInt(), columns[4].toInt(), columns[12].toInt()});
    }
    return images;
}

class PrintTest : public ProgramTest {
protected:
    void SetUp() override
    {
        picture = noiseImage(1024, 768, 3);
        createAlbum(albumDir(), "album",
                    {{"", "one", {}, true, pngFile(picture)},
                     {"", "wide", {}, false, pngFile(noiseImage(4000, 50, 4))},
                     {"", "none", {}, true},
                     {"", "small", {}, true, pictureFile(40, 30, Qt::red)}});
        writeRegDb({264, 52, 742, 630, true, "album", albumDir()});
        start();
        ASSERT_TRUE(form().albumOpen());
        pictureView().waitForDisplay();
    }
    QString pdf(const std::string& name) const { return QString::fromStdString((albums.path() / name).string()); }
    // The user chooses PDF output into `file` at `dpi` in the next print dialog; `origin`
    // gets where the printable area begins, in dots.
    void answerPdf(const QString& file, int dpi, QPoint* origin = nullptr)
    {
        dialogs.answerPrinter([file, dpi, origin](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setResolution(dpi);
            if (origin)
                *origin = printer.pageLayout().paintRectPixels(dpi).topLeft();
        });
    }
    QImage rendered(const QString& file, int dpi, QRect area)
    {
        const QString base = file + "-page";
        runTool("pdftocairo", {"-r", QString::number(dpi), "-png", "-singlefile", "-x", QString::number(area.x()),
                               "-y", QString::number(area.y()), "-W", QString::number(area.width()), "-H",
                               QString::number(area.height()), file, base});
        return QImage(base + ".png");
    }
    std::string current() { return db().Table1.fieldByName("NAAM").asString(); }

    QImage picture;
};

} // namespace

TEST_F(PrintTest, ThePictureIsPrintedOneDotPerPixelAtThePrintableAreasOriginWithoutLoss)
{
    for (int dpi : {300, 600}) {
        SCOPED_TRACE(dpi);
        const QString file = pdf("print" + std::to_string(dpi) + ".pdf");
        QPoint origin;
        answerPdf(file, dpi, &origin);
        trigger("Print1");
        const std::vector<ListedImage> images = imagesIn(file);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].width, 1024);
        EXPECT_EQ(images[0].height, 768);
        EXPECT_EQ(images[0].ppi, dpi);
        const QImage printed = rendered(file, dpi, QRect(origin, picture.size()));
        ASSERT_EQ(printed.size(), picture.size());
        EXPECT_EQ(differingPixels(printed, picture), 0) << "every pixel where it belongs";
        EXPECT_TRUE(runTool("pdfinfo", {file}).contains("Kadrix one")) << "the job is named for the picture";
    }
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(PrintTest, APictureWiderThanThePageIsCutAtItsEdgeNotReduced)
{
    db().Table1.next();
    pictureView().waitForDisplay();
    const QString file = pdf("wide.pdf");
    answerPdf(file, 300);
    trigger("Print1");
    QPrinter page(QPrinter::HighResolution);
    page.setOutputFormat(QPrinter::PdfFormat);
    page.setResolution(300);
    const int printable = page.pageLayout().paintRectPixels(300).width();
    ASSERT_LT(printable, 4000);
    const std::vector<ListedImage> images = imagesIn(file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, printable);
    EXPECT_EQ(images[0].height, 50);
    EXPECT_EQ(images[0].ppi, 300);
}

TEST_F(PrintTest, ThePrinterChosenInTheSetupIsTheOneLaterJobsGoTo)
{
    const QString file = pdf("setup.pdf");
    answerPdf(file, 300);
    trigger("PrinterSetup1");
    EXPECT_FALSE(QFile::exists(file)) << "the setup prints nothing";
    dialogs.answerPrinter([](QPrinter&) {}); // OK, nothing changed
    trigger("Print1");
    const std::vector<ListedImage> images = imagesIn(file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].ppi, 300);
}

TEST_F(PrintTest, CancellingPrintsNothingAndLeavesTheMarkedPicturesShown)
{
    dialogs.answerCancel();
    trigger("Print1");
    db().Table1.last();
    dialogs.answerCancel();
    trigger("Print2");
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(current(), "one");
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_TRUE(QDir(QString::fromStdString(albumDir())).entryList({"*.pdf"}).isEmpty());
}

TEST_F(PrintTest, TheMarkedPicturesArePrintedInTableOrderSkippingOneWithoutPicture)
{
    // Every job writes the same file: the last one holds the last marked picture.
    const QString file = pdf("marked.pdf");
    answerPdf(file, 300);
    trigger("Print2");
    EXPECT_EQ(dialogs.asked.size(), 1u) << "one dialog for the whole run";
    const std::vector<ListedImage> images = imagesIn(file);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 40);
    EXPECT_EQ(current(), "small");
    EXPECT_TRUE(control<QToolButton>("SpeedButton7").isChecked());
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

// Run by with-print-server.sh, which starts a private print server with the queue "pdf" and
// says where it keeps its jobs.
TEST_F(PrintTest, FiveMarkedPicturesAreFiveJobsThroughAPrintServer)
{
    const QByteArray spool = qgetenv("KADRIX_TEST_SPOOL");
    if (spool.isEmpty())
        GTEST_SKIP() << "no print server";
    for (int n = 0; n < 3; ++n) { // five marked: three more
        db().Table1.append();
        db().Table1.fieldByName("NAAM").setAsString("more " + std::to_string(n));
        db().Table1.fieldByName("MARK").setAsBoolean(true);
        const QByteArray green = pictureFile(20, 10, Qt::green);
        db().Table1.fieldByName("FOTO").setAsBytes(paradox::Bytes(green.begin(), green.end()));
        db().Table1.refresh();
    }
    dialogs.answerPrinter([](QPrinter& printer) { printer.setPrinterName("pdf"); });
    trigger("Print2");
    // The job files' attributes name each job.
    QStringList names;
    for (int tries = 0; tries < 300 && names.size() < 5; ++tries) {
        names.clear();
        for (const QString& entry : QDir(QString::fromLocal8Bit(spool)).entryList({"c*"}, QDir::Files, QDir::Name)) {
            QFile attributes(QDir(QString::fromLocal8Bit(spool)).filePath(entry));
            attributes.open(QIODevice::ReadOnly);
            const QByteArray bytes = attributes.readAll();
            // An attribute's value follows its two-byte length.
            const qsizetype at = bytes.indexOf("Kadrix ");
            if (at >= 2)
                names.append(QString::fromUtf8(
                    bytes.mid(at, static_cast<uchar>(bytes[at - 2]) * 256 + static_cast<uchar>(bytes[at - 1]))));
        }
        QThread::msleep(100);
    }
    EXPECT_EQ(names, QStringList({"Kadrix one", "Kadrix small", "Kadrix more 0", "Kadrix more 1", "Kadrix more 2"}));
}
