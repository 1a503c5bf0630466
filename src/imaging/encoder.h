// Writing images in the album's eight save formats.
#pragma once

#include "imaging/savesettings.h"
#include "imaging/taskcontrol.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace imaging {

enum class SaveFormat { Jpg, Gif, Bmp, Tif, Tga, Pcx, Png, Eps };

// The format a file name asks for by its suffix (.jpg/.jpeg, .gif, .bmp, .tif/.tiff, .tga, .pcx,
// .png, .eps); Error(UnknownFormat) otherwise.
SaveFormat saveFormatForFileName(const QString& fileName);

// The whole file's bytes. JPEG is what the picture view stores into a record when it posts.
// Transparency is kept by GIF, PNG, TGA and colour TIFF and put on white by the others. An image
// carrying a colour space other than sRGB's keeps it as an embedded ICC profile in JPEG, PNG and
// colour TIFF; the other formats get the sRGB colours it means.
QByteArray encode(const QImage& image, SaveFormat format, const SaveSettings& settings,
                  const TaskControl& control = {});

// Replaces the file only once all of `bytes` is written and on disk; Error(WriteFailed) otherwise.
void saveToFile(const QByteArray& bytes, const QString& path);

// Replaces the file only once the picture is completely written.
void encodeToFile(const QImage& image, const QString& path, SaveFormat format, const SaveSettings& settings,
                  const TaskControl& control = {});

} // namespace imaging
