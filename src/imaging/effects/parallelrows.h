// Runs a per-row effect of our own on every core: the rows are cut into bands, one thread
// each. Progress is reported and a cancel request honoured between rows of the first band.
#pragma once

#include <functional>

#include "imaging/taskcontrol.h"

namespace imaging::effects {

// Calls `row(y)` once for every y in [0, height); throws Error(Cancelled) once a cancel
// request came (rows may then be left undone).
void forEachRow(int height, const TaskControl& control, const std::function<void(int y)>& row);

} // namespace imaging::effects
