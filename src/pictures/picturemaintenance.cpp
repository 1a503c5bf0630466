#include "pictures/picturemaintenance.h"

#include <QCoreApplication>

#include "data/controlssuspended.h"
#include "data/data.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"
#include "imaging/effects/effectswindow.h"
#include "imaging/pdbmultiimage.h"

namespace {

// How many records a mark-all run writes between two repaints of its progress.
constexpr int recordsPerRepaint = 250;

} // namespace

PictureMaintenance::PictureMaintenance(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window)
    : db_(db), view_(view), dialogs_(dialogs), window_(window),
      effects_(new imaging::EffectsWindow(window.dialogParent(),
                                          [this](QWidget* parent, const QString& caption, const QString& question) {
                                              return dialogs_.askYesNo(parent, caption, question);
                                          }))
{}

void PictureMaintenance::deletePicture()
{
    TTable& pictures = db_.Table1;
    if (pictures.recordCount() == 0)
        return;
    window_.state().ZoomStep = 0;
    // A pending new record was never counted on the position bar: dropping it leaves the bar.
    const bool stored = pictures.state() != TDataSetState::dsInsert;
    pictures.deleteRecord();
    if (stored)
        window_.setPositionMaximum(window_.positionMaximum() - 1);
    TTable& settings = db_.Table3;
    settings.edit();
    settings.fieldByName("KEY").setAsInteger(pictures.recordCount());
    settings.refresh();
    showTablePosition(window_, pictures);
}

int PictureMaintenance::markAll()
{
    return setAllMarks(true);
}

int PictureMaintenance::unmarkAll()
{
    return setAllMarks(false);
}

int PictureMaintenance::setAllMarks(bool mark)
{
    TTable& pictures = db_.Table1;
    // The whole table bounds the visible part; the bar fills completely at the end.
    const int total = pictures.recordCount();
    int written = 0;
    window_.showProgress(0, total);
    {
        const BusyScope busy(window_);
        const ControlsSuspended suspended(pictures);
        // A stored change that takes the record out of the filter (unmarking while only the
        // marked pictures are shown) leaves it current, so the next step goes on from it to
        // the following visible picture and none is skipped or visited twice.
        for (pictures.first(); !pictures.eof(); pictures.next()) {
            pictures.edit();
            pictures.fieldByName("MARK").setAsBoolean(mark);
            pictures.refresh();
            if (++written % recordsPerRepaint == 0) {
                window_.showProgress(written, total);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        }
    }
    window_.showProgress(total, total);
    return written;
}

void PictureMaintenance::processPicture()
{
    window_.state().ZoomStep = 0;
    effects_->load(view_.picture());
    effects_->setTransition(view_.transition());
    if (effects_->exec() != QDialog::Accepted)
        return;
    view_.setTransition(effects_->transition());
    // Closing without having applied an effect leaves the picture (and its file format) alone.
    if (effects_->changed())
        view_.setPicture(effects_->picture());
}
