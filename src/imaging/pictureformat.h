// Which kind of picture a run of bytes holds. Album records carry no file name, so the kind is
// always told from the content (this also covers files named .SCM or .CMS).
#pragma once

#include <QByteArrayView>
#include <QString>

namespace imaging {

enum class PictureFormat { Jpeg, Png, Gif, Bmp, Tiff, Pcx, Wmf, Pcd, Eps, Dxf, Tga, Heic, Avif, WebP };

// Throws Error(UnknownFormat) for anything the album cannot read. TGA has no signature, so it is
// only taken when nothing else matched and its header makes sense.
PictureFormat sniffFormat(QByteArrayView bytes);

QString formatName(PictureFormat format);

} // namespace imaging
