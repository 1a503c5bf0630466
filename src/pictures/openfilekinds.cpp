#include "pictures/openfilekinds.h"

#include <QStringList>

const QList<OpenFileKind>& openFileKinds()
{
    static const QList<OpenFileKind> kinds = [] {
        // Kept as the album's users know it: RTF is offered only on its own, and "All" does not
        // take in the spellings .jpeg and .tiff or the kinds EPS and DXF. The kinds of today's
        // phones and of the web follow.
        QList<OpenFileKind> list{
            {QStringLiteral("All"),
             QStringLiteral("*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;*.WMF;*.TGA;*.HEIC;*.HEIF;*.AVIF;*.WEBP")}};
        const QStringList single{"BMP", "CMS", "GIF", "JPG", "PCX",  "PNG",  "RTF",  "SCM",
                                 "TIF", "PCD", "WMF", "TGA", "HEIC", "HEIF", "AVIF", "WEBP"};
        for (const QString& name : single)
            list.append({name, QStringLiteral("*.") + name});
        return list;
    }();
    return kinds;
}
