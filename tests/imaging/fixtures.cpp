#include "fixtures.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QProcess>

namespace fixtures {

ToolRun run(const QString& program, const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120'000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QByteArray convert(const QByteArray& input, const QStringList& options, const QString& output)
{
    const ToolRun result = run(QStringLiteral("convert"), options + QStringList{QStringLiteral("-"), output}, input);
    return result.exitCode == 0 ? result.output : QByteArray();
}

namespace {

QImage readPpm(const ToolRun& result)
{
    return result.exitCode == 0 ? QImage::fromData(result.output, "PPM").convertToFormat(QImage::Format_RGB32)
                                : QImage();
}

} // namespace

QImage readWithImageMagick(const QString& path)
{
    return readPpm(
        run(QStringLiteral("convert"), {path, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("PPM:-")}));
}

QImage readWithGraphicsMagick(const QString& path)
{
    return readPpm(run(QStringLiteral("gm"), {QStringLiteral("convert"), path, QStringLiteral("-depth"),
                                              QStringLiteral("8"), QStringLiteral("PPM:-")}));
}

QString identify(const QString& path, const QString& format)
{
    return QString::fromLocal8Bit(run(QStringLiteral("identify"), {QStringLiteral("-format"), format, path}).output);
}

QImage quadrants(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const int halfWidth = size.width() / 2;
    const int halfHeight = size.height() / 2;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const bool right = x >= halfWidth;
            line[x] = y < halfHeight ? (right ? qRgb(0, 200, 0) : qRgb(220, 0, 0))
                                     : (right ? qRgb(255, 255, 255) : qRgb(0, 0, 210));
        }
    }
    return image;
}

QImage gradient(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 7) & 255, (y * 5) & 255, (x * y + 13) & 255);
    }
    return image;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray binaryDxf(const QByteArray& textDxf, bool wideGroupCodes)
{
    QByteArray binary("AutoCAD Binary DXF\r\n\x1A\0", 22);
    const QList<QByteArray> lines = textDxf.trimmed().split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const int code = lines[i].trimmed().toInt();
        const QByteArray value = lines[i + 1].trimmed();
        binary.append(char(code));
        if (wideGroupCodes)
            binary.append(char(code >> 8));
        const auto put = [&binary](auto number) {
            binary.append(reinterpret_cast<const char*>(&number), sizeof number); // little-endian machine
        };
        if (code >= 10 && code <= 59)
            put(value.toDouble());
        else if (code >= 60 && code <= 79)
            put(static_cast<qint16>(value.toInt()));
        else if (code >= 90 && code <= 99)
            put(static_cast<qint32>(value.toInt()));
        else
            binary.append(value).append('\0');
    }
    return binary;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

namespace {

template <typename Combine> void eachChannelDifference(const QImage& a, const QImage& b, Combine&& combine)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < left.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
        const auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            combine(std::abs(qRed(l[x]) - qRed(r[x])));
            combine(std::abs(qGreen(l[x]) - qGreen(r[x])));
            combine(std::abs(qBlue(l[x]) - qBlue(r[x])));
        }
    }
}

} // namespace

int maxDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    eachChannelDifference(a, b, [&](int difference) { largest = std::max(largest, difference); });
    return largest;
}

double meanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 256;
    double sum = 0;
    eachChannelDifference(a, b, [&](int difference) { sum += difference; });
    return sum / (3.0 * a.width() * a.height());
}

int distance(const QImage& image, QPoint at, QColor colour)
{
    const QColor pixel = image.pixelColor(at);
    return std::max({std::abs(pixel.red() - colour.red()), std::abs(pixel.green() - colour.green()),
                     std::abs(pixel.blue() - colour.blue())});
}

void expectQuadrants(const QImage& image, int tolerance)
{
    const int w = image.width();
    const int h = image.height();
    EXPECT_LE(distance(image, {w / 4, h / 4}, QColor(220, 0, 0)), tolerance);
    EXPECT_LE(distance(image, {3 * w / 4, h / 4}, QColor(0, 200, 0)), tolerance);
    EXPECT_LE(distance(image, {w / 4, 3 * h / 4}, QColor(0, 0, 210)), tolerance);
    EXPECT_LE(distance(image, {3 * w / 4, 3 * h / 4}, Qt::white), tolerance);
}

namespace {

// A Windows metafile written record by record: 16-bit little-endian words throughout.
class MetafileWriter {
public:
    void record(quint16 function, std::initializer_list<int> parameters)
    {
        const auto size = static_cast<quint32>(3 + parameters.size());
        largest_ = std::max(largest_, size);
        putWord(static_cast<quint16>(size & 0xFFFF), records_);
        putWord(static_cast<quint16>(size >> 16), records_);
        putWord(function, records_);
        for (const int parameter : parameters)
            putWord(static_cast<quint16>(parameter), records_);
    }
    void solidBrush(QRgb colour) // selected into the next free object slot
    {
        const quint32 colourRef = quint32(qRed(colour)) | quint32(qGreen(colour)) << 8 | quint32(qBlue(colour)) << 16;
        record(0x02FC, {0, int(colourRef & 0xFFFF), int(colourRef >> 16), 0});
        record(0x012D, {objects_++});
    }
    void noPen()
    {
        record(0x02FA, {5, 0, 0, 0, 0});
        record(0x012D, {objects_++});
    }

    // With the placeable header (bounding box in units of 1/72 inch) or without.
    QByteArray file(bool placeable, QSize box)
    {
        record(0x0000, {});
        QByteArray bytes;
        if (placeable) {
            const quint16 header[10] = {0xCDD7, 0x9AC6, 0, 0, 0, quint16(box.width()), quint16(box.height()), 72, 0, 0};
            quint16 checksum = 0;
            for (const quint16 word : header) {
                putWord(word, bytes);
                checksum ^= word;
            }
            putWord(checksum, bytes);
        }
        const quint32 words = 9 + static_cast<quint32>(records_.size() / 2);
        for (const quint32 word :
             {1u, 9u, 0x0300u, words & 0xFFFF, words >> 16, quint32(objects_), largest_ & 0xFFFF, largest_ >> 16, 0u})
            putWord(static_cast<quint16>(word), bytes);
        return bytes + records_;
    }

private:
    static void putWord(quint16 word, QByteArray& into) { into.append(char(word & 0xFF)).append(char(word >> 8)); }

    QByteArray records_;
    quint32 largest_ = 3;
    int objects_ = 0;
};

} // namespace

QByteArray threeShapesMetafile(bool placeable)
{
    MetafileWriter wmf;
    wmf.record(0x020B, {0, 0});     // window origin
    wmf.record(0x020C, {100, 200}); // window extent: height, width
    wmf.noPen();
    wmf.solidBrush(qRgb(255, 0, 0));
    wmf.record(0x041B, {100, 100, 0, 0}); // rectangle: bottom, right, top, left
    wmf.solidBrush(qRgb(0, 0, 255));
    wmf.record(0x0418, {90, 190, 10, 110}); // ellipse
    wmf.solidBrush(qRgb(0, 255, 0));
    wmf.record(0x0324, {3, 20, 95, 80, 95, 50, 65}); // triangle
    return wmf.file(placeable, {200, 100});
}

QByteArray filledManyTimesMetafile(QSize size, int count)
{
    MetafileWriter wmf;
    wmf.record(0x020B, {0, 0});                        // window origin
    wmf.record(0x020C, {size.height(), size.width()}); // window extent: height, width
    wmf.solidBrush(qRgb(255, 0, 0));
    for (int i = 0; i < count; ++i)
        wmf.record(0x041B, {size.height(), size.width(), 0, 0}); // rectangle: bottom, right, top, left
    return wmf.file(true, size);
}

} // namespace fixtures
