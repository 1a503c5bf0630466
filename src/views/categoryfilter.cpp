// Showing only the pictures of one category, or only the marked ones, and showing all again.
#include "app/main.h"

#include <QToolButton>

#include "data/data.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"

namespace {

constexpr int markPredicate = 25;

} // namespace

void TForm1::showCategory(int predicate)
{
    ZoomStep = 0;
    TTable& pictures = db().Table1;
    pictures.setOnFilterRecord(db().filterHandler(Tdb::filterPredicate(predicate)));
    pictures.setFiltered(true);
    SpeedButton7->setChecked(true);
    // On a closed table the filter is only recorded, and reading the position fails here.
    const int position = pictures.recNo();
    RzTrackBar1->setValue(position);
    RzStatusPane3->setText(QString::number(position));
}

void TForm1::RzLabel2Click()
{
    showCategory(1);
}
void TForm1::RzLabel3Click()
{
    showCategory(2);
}
void TForm1::RzLabel4Click()
{
    showCategory(3);
}
void TForm1::RzLabel5Click()
{
    showCategory(4);
}
void TForm1::RzLabel6Click()
{
    showCategory(5);
}
void TForm1::RzLabel7Click()
{
    showCategory(6);
}
void TForm1::RzLabel8Click()
{
    showCategory(7);
}
void TForm1::RzLabel9Click()
{
    showCategory(8);
}
void TForm1::RzLabel10Click()
{
    showCategory(9);
}
void TForm1::RzLabel11Click()
{
    showCategory(10);
}
void TForm1::RzLabel12Click()
{
    showCategory(11);
}
void TForm1::RzLabel13Click()
{
    showCategory(12);
}
void TForm1::RzLabel14Click()
{
    showCategory(13);
}
void TForm1::RzLabel15Click()
{
    showCategory(14);
}
void TForm1::RzLabel16Click()
{
    showCategory(15);
}
void TForm1::RzLabel17Click()
{
    showCategory(16);
}
void TForm1::RzLabel18Click()
{
    showCategory(17);
}
void TForm1::RzLabel19Click()
{
    showCategory(18);
}
void TForm1::RzLabel20Click()
{
    showCategory(19);
}
void TForm1::RzLabel21Click()
{
    showCategory(20);
}
void TForm1::RzLabel22Click()
{
    showCategory(21);
}
void TForm1::RzLabel23Click()
{
    showCategory(22);
}
void TForm1::RzLabel24Click()
{
    showCategory(23);
}
void TForm1::RzLabel25Click()
{
    showCategory(24);
}

void TForm1::ShowChecked1Click()
{
    showCategory(markPredicate);
}

void TForm1::SpeedButton7Click()
{
    ZoomStep = 0;
    TTable& pictures = db().Table1;
    pictures.setFiltered(false);
    SpeedButton7->setChecked(false);
    const int position = pictures.recNo();
    RzTrackBar1->setValue(position);
    RzStatusPane3->setText(QString::number(position));
}
