#include "fixtures.h"
#include "imaging/decoder.h"
#include "imaging/encoder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QtEndian>

using imaging::decode;
using imaging::ErrorCode;
using imaging::PictureFormat;

namespace {

QByteArray dxf(const QStringList& entities, const QStringList& blocks = {})
{
    QString text;
    if (!blocks.isEmpty())
        text += QStringLiteral("0\nSECTION\n2\nBLOCKS\n") + blocks.join(QString()) + QStringLiteral("0\nENDSEC\n");
    return (text + QStringLiteral("0\nSECTION\n2\nENTITIES\n") + entities.join(QString()) +
            QStringLiteral("0\nENDSEC\n0\nEOF\n"))
        .toLatin1();
}

QString entity(const QString& type, const std::vector<std::pair<int, QString>>& groups)
{
    QString text = QStringLiteral("0\n%1\n8\n0\n").arg(type);
    for (const auto& [code, value] : groups)
        text += QStringLiteral("%1\n%2\n").arg(code).arg(value);
    return text;
}

QString line(double x1, double y1, double x2, double y2)
{
    return entity("LINE", {{10, QString::number(x1)},
                           {20, QString::number(y1)},
                           {30, "0"},
                           {11, QString::number(x2)},
                           {21, QString::number(y2)},
                           {31, "0"}});
}

// A block of two lines, an L on its side, inserted turned and scaled, and as an array of
// 3 columns and 2 rows.
QByteArray insertedMarks()
{
    const QString block = entity("BLOCK", {{2, "MARK"}, {70, "0"}, {10, "0"}, {20, "0"}, {30, "0"}}) +
                          line(0, 0, 10, 0) + line(0, 0, 0, 5) + entity("ENDBLK", {});
    return dxf({entity("INSERT", {{2, "MARK"}, {10, "100"}, {20, "0"}, {30, "0"}, {41, "2"}, {42, "2"}, {50, "90"}}),
                entity("INSERT",
                       {{2, "MARK"}, {10, "0"}, {20, "50"}, {30, "0"}, {70, "3"}, {71, "2"}, {44, "30"}, {45, "20"}})},
               {block});
}

// Darkest pixel around a point: lines are one antialiased pixel wide.
int darkestAround(const QImage& image, QPoint centre)
{
    int darkest = 255;
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx)
            darkest = std::min(darkest, qGray(image.pixel(centre + QPoint(dx, dy))));
    }
    return darkest;
}

const char* handWrittenEps = "%!PS-Adobe-3.0 EPSF-3.0\n"
                             "%%BoundingBox: 10 20 110 70\n"
                             "%%EndComments\n"
                             "1 0 0 setrgbcolor 10 20 50 50 rectfill\n"
                             "0 0 1 setrgbcolor 60 20 50 50 rectfill\n"
                             "showpage\n";

class ScopedPath {
public:
    explicit ScopedPath(const QString& path) : saved_(qgetenv("PATH")) { qputenv("PATH", path.toLocal8Bit()); }
    ~ScopedPath() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

} // namespace

TEST(DrawingDecoding, RendersMetafilesWithAndWithoutPlaceableHeader)
{
    const auto placeable = decode(fixtures::threeShapesMetafile(true));
    EXPECT_EQ(placeable.format, PictureFormat::Wmf);
    EXPECT_EQ(placeable.image.size(), QSize(200, 100));
    const auto standard = decode(fixtures::threeShapesMetafile(false));
    EXPECT_EQ(standard.format, PictureFormat::Wmf);
    for (const QImage& image : {placeable.image, standard.image.scaled(200, 100)}) {
        EXPECT_LE(fixtures::distance(image, {50, 20}, Qt::red), 8);
        EXPECT_LE(fixtures::distance(image, {50, 85}, Qt::green), 8);
        EXPECT_LE(fixtures::distance(image, {150, 50}, Qt::blue), 8);
    }
}

TEST(DrawingDecoding, DrawsDxfEntitiesBlackOnWhiteFittedToTheirExtent)
{
    const QByteArray drawing = dxf({
        entity("LWPOLYLINE", {{90, "4"},
                              {70, "1"},
                              {10, "0"},
                              {20, "0"},
                              {10, "100"},
                              {20, "0"},
                              {10, "100"},
                              {20, "100"},
                              {10, "0"},
                              {20, "100"}}),
        entity("LINE", {{10, "10"}, {20, "90"}, {30, "0"}, {11, "40"}, {21, "90"}, {31, "0"}}),
        entity("CIRCLE", {{10, "50"}, {20, "50"}, {30, "0"}, {40, "25"}}),
        entity("ARC", {{10, "50"}, {20, "50"}, {30, "0"}, {40, "40"}, {50, "0"}, {51, "90"}}),
        entity("TEXT", {{10, "60"}, {20, "5"}, {30, "0"}, {40, "10"}, {1, "KADRIX"}}),
        entity("POLYLINE", {{66, "1"}, {70, "1"}, {10, "0"}, {20, "0"}, {30, "0"}}),
        entity("VERTEX", {{10, "70"}, {20, "60"}, {30, "0"}}),
        entity("VERTEX", {{10, "90"}, {20, "60"}, {30, "0"}}),
        entity("VERTEX", {{10, "80"}, {20, "80"}, {30, "0"}}),
        entity("SEQEND", {}),
    });
    const auto full = decode(drawing);
    EXPECT_EQ(full.format, PictureFormat::Dxf);
    ASSERT_EQ(full.image.size(), QSize(1024, 1024));
    // The square fills the canvas but for a margin of 1 %: world unit u lands on 10.24 + 10.035 u.
    const auto at = [](double x, double y) {
        return QPoint(qRound(10.24 + 10.035 * x), qRound(10.24 + 10.035 * (100 - y)));
    };
    EXPECT_EQ(qGray(full.image.pixel(at(50, 50))), 255);
    EXPECT_LT(darkestAround(full.image, at(0, 50)), 100);  // square, left side
    EXPECT_LT(darkestAround(full.image, at(25, 90)), 100); // line
    EXPECT_LT(darkestAround(full.image, at(50, 75)), 100); // circle, top
    EXPECT_LT(darkestAround(full.image, at(90, 50)), 100); // arc, start
    EXPECT_LT(darkestAround(full.image, at(80, 60)), 100); // polyline of vertices, lower side
    EXPECT_EQ(qGray(full.image.pixel(at(50, 10))), 255);   // where the arc does not run
    int textPixels = 0;
    for (int y = at(0, 15).y(); y < at(0, 5).y(); ++y) {
        for (int x = at(60, 0).x(); x < at(98, 0).x(); ++x)
            textPixels += qGray(full.image.pixel(x, y)) < 128;
    }
    EXPECT_GT(textPixels, 500);

    EXPECT_EQ(decode(drawing, {.fitInto = {300, 200}}).image.size(), QSize(200, 200));
}

TEST(DrawingDecoding, InsertedBlocksDrawAsTheirLinesWrittenOut)
{
    QStringList lines{line(100, 0, 100, 20), line(100, 0, 90, 0)};
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 2; ++row) {
            const double x = 30 * column;
            const double y = 50 + 20 * row;
            lines << line(x, y, x + 10, y) << line(x, y, x, y + 5);
        }
    }
    const QImage written = decode(dxf(lines)).image;
    const QImage inserted = decode(insertedMarks()).image;
    EXPECT_EQ(inserted.size(), written.size());
    EXPECT_LE(fixtures::maxDifference(inserted, written), 2);
}

TEST(DrawingDecoding, ReadsDxfAfterAByteOrderMarkAndInBinaryForm)
{
    const QByteArray drawing = insertedMarks();
    const QImage plain = decode(drawing).image;
    ASSERT_EQ(plain.size(), QSize(1024, 768));
    const std::vector<std::pair<const char*, QByteArray>> forms{
        {"byte order mark", "\xEF\xBB\xBF" + drawing},
        {"binary, one-byte group codes", fixtures::binaryDxf(drawing, false)},
        {"binary, two-byte group codes", fixtures::binaryDxf(drawing, true)},
    };
    for (const auto& [name, bytes] : forms) {
        SCOPED_TRACE(name);
        const auto picture = decode(bytes);
        EXPECT_EQ(picture.format, PictureFormat::Dxf);
        EXPECT_EQ(fixtures::maxDifference(picture.image, plain), 0);
    }
}

TEST(DrawingDecoding, RendersEpsWithGhostscript)
{
    const QByteArray handWritten(handWrittenEps);
    QByteArray dosEps(30, '\0');
    qToLittleEndian<quint32>(0xC6D3D0C5u, dosEps.data());
    qToLittleEndian<quint32>(30u, dosEps.data() + 4);
    qToLittleEndian<quint32>(static_cast<quint32>(handWritten.size()), dosEps.data() + 8);
    dosEps += handWritten;
    for (const QByteArray& eps : {handWritten, dosEps}) {
        const auto picture = decode(eps);
        EXPECT_EQ(picture.format, PictureFormat::Eps);
        ASSERT_EQ(picture.image.size(), QSize(100, 50));
        EXPECT_LE(fixtures::distance(picture.image, {25, 25}, Qt::red), 2);
        EXPECT_LE(fixtures::distance(picture.image, {75, 25}, Qt::blue), 2);
        EXPECT_EQ(decode(eps, {.fitInto = {50, 50}}).image.size(), QSize(50, 25));
        EXPECT_EQ(imaging::probeSize(eps, imaging::PcdMode::pcd_BASE), QSize(100, 50)) << "from the box alone";
    }
    const QImage source = fixtures::gradient({40, 30});
    const auto ours = decode(imaging::encode(source, imaging::SaveFormat::Eps, {}));
    EXPECT_LE(fixtures::maxDifference(ours.image, source), 1);
}

TEST(DrawingDecoding, MissingGhostscriptIsAnErrorOfItsOwn)
{
    const QTemporaryDir emptyFolder;
    const ScopedPath path(emptyFolder.path());
    try {
        decode(QByteArray(handWrittenEps));
        FAIL() << "decoded without Ghostscript";
    } catch (const imaging::Error& error) {
        EXPECT_EQ(error.code(), ErrorCode::ToolMissing);
        EXPECT_TRUE(error.text().contains(QLatin1String("Ghostscript")));
    }
}
