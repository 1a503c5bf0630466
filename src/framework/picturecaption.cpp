#include "framework/picturecaption.h"

#include "data/albumsettings.h"
#include "data/data.h"
#include "imaging/pdbmultiimage.h"

void showPictureCaption(Tdb& db, TPDBMultiImage& view)
{
    view.setTextOverlay(QString::fromStdString(pictureCaption(db).value_or(std::string())));
}
