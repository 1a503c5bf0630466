#include "pictures/openfilekinds.h"

#include <QStringList>

const QList<OpenFileKind>& openFileKinds()
{
    static const QList<OpenFileKind> kinds = [] {
        // Kept as the album's users know it: RTF is offered only on its own, and "All" does not
        // take in the spellings .jpeg and .tiff or the kinds EPS and DXF.
        QList<OpenFileKind> list{{QStringLiteral("All"),
                                  QStringLiteral("*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;*.WMF;*.TGA")}};
        const QStringList single{"BMP", "CMS", "GIF", "JPG", "PCX", "PNG", "RTF", "SCM", "TIF", "PCD", "WMF", "TGA"};
        for (const QString& name : single)
            list.append({name, QStringLiteral("*.") + name});
        return list;
    }();
    return kinds;
}
