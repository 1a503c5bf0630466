// Rendering PostScript with Ghostscript, run as a separate program: it is never linked (its
// licence is the AGPL), and a crash or endless loop in it cannot take the album down.
#pragma once

#include "imaging/codecs/progress.h"

#include <chrono>
#include <QByteArrayView>
#include <QImage>

namespace imaging::codecs {

inline constexpr std::chrono::seconds ghostscriptTimeLimit{20};

// Renders an EPS cropped to its bounding box at `dotsPerInch` (72 makes one pixel per point),
// without access to any other file. Throws Error(ToolMissing) when gs is not installed,
// Error(ToolFailed) when it crashes or runs out of time, Error(DamagedPicture) when it rejects
// the PostScript.
QImage renderEps(QByteArrayView eps, double dotsPerInch, Progress& progress);

} // namespace imaging::codecs
