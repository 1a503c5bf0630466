// The glyphs of the program's buttons (main window, full-screen strip, thumbnail pages),
// painted so they stay crisp at any scale.
#pragma once

#include <QIcon>

namespace glyphs {

QIcon stepBack();    // arrow left: red while up, green while down
QIcon stepForward(); // arrow right: red while up, green while down
QIcon playStop();    // green triangle while up, red square while down
QIcon findNext();    // magnifier with an arrow
QIcon zoomIn();      // magnifier with a plus
QIcon zoomOut();     // magnifier with a minus
QIcon thumbnails();  // a grid of small pictures
QIcon fullScreen();  // four corner arrows
QIcon exit();        // an open door

} // namespace glyphs
