// Browsing: stepping with wrap-around (and finding memo text on the way), zooming, and
// jumping with the position bar.
#include "main.h"

#include <QLineEdit>
#include <QToolButton>

#include "data/controlssuspended.h"
#include "data/data.h"
#include "framework/statuspanes.h"
#include "framework/trackbar.h"
#include "imaging/pdbmultiimage.h"

namespace {

constexpr int zoomStepLimit = 10;

// One move in the stepping direction, coming round at the ends of the visible records.
void moveRound(TTable& table, bool forward)
{
    if (forward) {
        table.next();
        if (table.eof())
            table.first();
    } else {
        table.prior();
        if (table.bof())
            table.last();
    }
}

// A memo the album cannot read (a damaged blob file) holds nothing to find; the memo box
// reports it when its record is shown.
bool memoContains(TTable& table, const std::string& wanted)
{
    TField& memo = table.fieldByName("MEMO");
    try {
        return memo.asString().find(wanted) != std::string::npos;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

void TForm1::SpeedButton2Click()
{
    step(true);
}

void TForm1::SpeedButton1Click()
{
    step(false);
}

void TForm1::SpeedButton4Click()
{
    SpeedButton2Click();
}

void TForm1::step(bool forward)
{
    ZoomStep = 0;
    SlideshowForward = forward;
    PDBMultiImage1->setTravelDirection(forward);
    TTable& pictures = db().Table1;
    pictures.refresh();
    {
        // Only the picture where the step or search ends is decoded, not every one passed
        // over.
        ControlsSuspended suspended(pictures);
        moveRound(pictures, forward);
        const int start = pictures.recNo();
        const std::string wanted = Edit1->text().toStdString();
        if (wanted.empty()) {
            RzStatusPane4->clear();
        } else {
            bool found = false;
            do {
                moveRound(pictures, forward);
                found = memoContains(pictures, wanted);
            } while (!found && pictures.recNo() != start);
            RzStatusPane4->setText(found ? QStringLiteral("Found") : QStringLiteral("NOT Found"));
        }
    }
    fitPictureToView();
    showPictureName();
    setPositionBar(pictures.recordCount() > 0 ? pictures.recNo() : 0);
}

void TForm1::fitPictureToView()
{
    const QSize picture = PDBMultiImage1->pictureSize();
    const QSize view = PDBMultiImage1->displaySize();
    PDBMultiImage1->setStretchRatio(picture.width() > view.width() || picture.height() > view.height());
}

void TForm1::showPictureName()
{
    Tdb& tables = db();
    const bool showName = tables.Table3.fieldByName("TITEL").asBoolean();
    PDBMultiImage1->setTextOverlay(showName ? QString::fromStdString(tables.Table1.fieldByName("NAAM").asString())
                                            : QString());
}

void TForm1::SpeedButton5Click()
{
    if (ZoomStep > -zoomStepLimit) {
        PDBMultiImage1->Zoom(1.1);
        --ZoomStep;
    }
}

void TForm1::SpeedButton6Click()
{
    if (ZoomStep < zoomStepLimit) {
        PDBMultiImage1->Zoom(0.9);
        ++ZoomStep;
    }
}

void TForm1::RzTrackBar1MouseUp()
{
    ZoomStep = 0;
    TTable& pictures = db().Table1;
    pictures.moveBy(RzTrackBar1->value() - pictures.recNo());
    RzStatusPane3->setText(QString::number(pictures.recNo()));
    if (db().Table3.fieldByName("TITEL").asBoolean())
        PDBMultiImage1->setTextOverlay(QString::fromStdString(pictures.fieldByName("NAAM").asString()));
}
