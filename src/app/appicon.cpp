#include "app/appicon.h"

QIcon applicationIcon()
{
    // The bitmaps need no image plug-in; the drawing serves the sizes between them.
    QIcon icon(QStringLiteral(":/icons/io.github.kadrix.Kadrix.svg"));
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/png/%1.png").arg(size), QSize(size, size));
    return icon;
}
