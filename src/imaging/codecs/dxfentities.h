// Turns libdime's entities into the lines and texts of a DxfDrawing, within the work a drawing
// may ask for.
#pragma once

#include "imaging/codecs/dxfdrawing.h"

#include <dime/util/Linear.h>

class dimeEntity;

namespace imaging::codecs {

// Counts what a drawing has taken so far against DxfLimits; throws Error(TooLarge) once it
// asks for more, and Error(Cancelled) soon after a cancel request.
class DxfWork {
public:
    explicit DxfWork(Progress& progress) : progress_(progress) {}

    // One more entity, or copy of an inserted block, looked at.
    void visit();
    void points(qint64 count);
    void characters(qint64 count);
    Progress& progress() { return progress_; }

private:
    Progress& progress_;
    qint64 entities_ = 0;
    qint64 points_ = 0;
    qint64 characters_ = 0;
};

// Adds a line, polyline, circle, arc or text entity, placed by `toWorld` (which carries the
// inserts it sits in), to `drawing`; leaves out everything else.
void addDxfEntity(const dimeMatrix& toWorld, dimeEntity& entity, DxfDrawing& drawing, DxfWork& work);

} // namespace imaging::codecs
