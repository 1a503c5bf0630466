#include "app/browser.h"

#include "data/controlssuspended.h"
#include "data/data.h"
#include "framework/mainview.h"
#include "framework/picturecaption.h"
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

Browser::Browser(Tdb& db, TPDBMultiImage& view, MainView& window) : db_(db), view_(view), window_(window) {}

void Browser::step(bool forward)
{
    MainWindowState& state = window_.state();
    state.ZoomStep = 0;
    state.SlideshowForward = forward;
    view_.setTravelDirection(forward);
    TTable& pictures = db_.Table1;
    pictures.refresh();
    {
        // Only the picture where the step or search ends is decoded, not every one passed
        // over.
        ControlsSuspended suspended(pictures);
        moveRound(pictures, forward);
        const int start = pictures.recNo();
        const std::string wanted = window_.findText().toStdString();
        if (wanted.empty()) {
            window_.showFindResult(QString());
        } else {
            bool found = false;
            do {
                moveRound(pictures, forward);
                found = memoContains(pictures, wanted);
            } while (!found && pictures.recNo() != start);
            window_.showFindResult(found ? QStringLiteral("Found") : QStringLiteral("NOT Found"));
        }
    }
    view_.fitWhenLarger();
    showPictureCaption(db_, view_);
    showTablePosition(window_, pictures);
}

void Browser::zoomIn()
{
    MainWindowState& state = window_.state();
    if (state.ZoomStep > -zoomStepLimit) {
        view_.Zoom(1.1);
        --state.ZoomStep;
    }
}

void Browser::zoomOut()
{
    MainWindowState& state = window_.state();
    if (state.ZoomStep < zoomStepLimit) {
        view_.Zoom(0.9);
        ++state.ZoomStep;
    }
}

void Browser::jumpToPosition()
{
    window_.state().ZoomStep = 0;
    TTable& pictures = db_.Table1;
    pictures.moveBy(window_.position() - pictures.recNo());
    window_.showRecordNumber(pictures.recNo());
    if (db_.Table3.fieldByName("TITEL").asBoolean())
        view_.setTextOverlay(QString::fromStdString(pictures.fieldByName("NAAM").asString()));
}
