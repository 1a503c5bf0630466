#include "framework/mainview.h"

#include "data/ttable.h"

void showTablePosition(MainView& view, TTable& table)
{
    view.showPosition(table.recordCount() > 0 ? table.recNo() : 0);
}

void showNoAlbum(MainView& view)
{
    view.ButtonStatus(false);
    view.setPositionMaximum(1);
    view.showPosition(0);
    view.showFindResult(QString());
}
