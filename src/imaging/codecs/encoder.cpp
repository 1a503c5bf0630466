#include "imaging/encoder.h"

#include "imaging/codecs/encoders.h"
#include "imaging/decoder.h"
#include "imaging/error.h"

#include <QFileInfo>
#include <QSaveFile>

namespace imaging {

namespace {

QString saveFormatName(SaveFormat format)
{
    switch (format) {
    case SaveFormat::Jpg:
        return QStringLiteral("JPEG");
    case SaveFormat::Gif:
        return QStringLiteral("GIF");
    case SaveFormat::Bmp:
        return QStringLiteral("BMP");
    case SaveFormat::Tif:
        return QStringLiteral("TIFF");
    case SaveFormat::Tga:
        return QStringLiteral("TGA");
    case SaveFormat::Pcx:
        return QStringLiteral("PCX");
    case SaveFormat::Png:
        return QStringLiteral("PNG");
    case SaveFormat::Eps:
        return QStringLiteral("EPS");
    }
    return {};
}

// JPEG, PNG and colour TIFF files hold a colour profile, so a picture in colours of its own is
// written in them with its profile; the other files get the sRGB colours it means.
bool holdsProfile(SaveFormat format, const SaveSettings& settings)
{
    switch (format) {
    case SaveFormat::Jpg:
    case SaveFormat::Png:
        return true;
    case SaveFormat::Tif:
        return settings.tiffCompression() != TiffCompression::sCCITT &&
               settings.tiffCompression() != TiffCompression::sFAXCCITT3 &&
               settings.tiffCompression() != TiffCompression::sFAXCCITT4;
    default:
        return false;
    }
}

} // namespace

SaveFormat saveFormatForFileName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg" || suffix == u"jpe")
        return SaveFormat::Jpg;
    if (suffix == u"tif" || suffix == u"tiff")
        return SaveFormat::Tif;
    for (const SaveFormat format :
         {SaveFormat::Gif, SaveFormat::Bmp, SaveFormat::Tga, SaveFormat::Pcx, SaveFormat::Png, SaveFormat::Eps}) {
        if (suffix == saveFormatName(format).toLower())
            return format;
    }
    throw Error(ErrorCode::UnknownFormat, QStringLiteral("Pictures cannot be saved as \"%1\" files").arg(suffix));
}

QByteArray encode(const QImage& picture, SaveFormat format, const SaveSettings& settings, const TaskControl& control)
{
    if (picture.isNull())
        throw Error(ErrorCode::NothingToSave, QStringLiteral("There is no picture to save"));
    codecs::Progress progress(control, QStringLiteral("Writing %1 picture").arg(saveFormatName(format)));
    progress.step(0, 1);
    // A colour space Qt cannot describe as a profile is written in the sRGB colours it means too.
    const bool ownColours = holdsProfile(format, settings) && !codecs::ownProfile(picture).isEmpty();
    const QImage image = ownColours ? picture : inSrgb(picture);
    QByteArray bytes = [&] {
        switch (format) {
        case SaveFormat::Jpg:
            return codecs::encodeJpeg(image, settings, progress);
        case SaveFormat::Tif:
            return codecs::encodeTiff(image, settings.tiffCompression(), progress);
        case SaveFormat::Eps:
            return codecs::encodeEps(image, progress);
        case SaveFormat::Bmp:
            return codecs::encodeBmp(image, progress);
        case SaveFormat::Gif:
        case SaveFormat::Tga:
        case SaveFormat::Pcx:
        case SaveFormat::Png:
            break;
        }
        return codecs::encodeWithMagick(image, format, settings, progress);
    }();
    progress.report(100);
    return bytes;
}

void saveToFile(const QByteArray& bytes, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Error(ErrorCode::WriteFailed,
                    QStringLiteral("The picture cannot be saved as %1: %2").arg(path, file.errorString()));
    }
}

void encodeToFile(const QImage& image, const QString& path, SaveFormat format, const SaveSettings& settings,
                  const TaskControl& control)
{
    saveToFile(encode(image, format, settings, control), path);
}

} // namespace imaging
