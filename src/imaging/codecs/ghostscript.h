// Rendering PostScript with Ghostscript, run as a separate program: it is never linked (its
// licence is the AGPL), and a crash or endless loop in it cannot take the album down. It runs
// with limits of its own: time, memory, the size of what it writes and how much it prints.
#pragma once

#include "imaging/codecs/progress.h"

#include <chrono>
#include <QByteArrayView>
#include <QImage>

namespace imaging::codecs {

// Ghostscript renders large pages in bands, in a few tens of megabytes; PostScript that
// allocates more is refused rather than left to take the machine's memory.
inline constexpr qint64 ghostscriptMemoryLimit = 512ll * 1024 * 1024;
// With -q Ghostscript prints only what the PostScript prints or its error message; a program
// that prints more than this is stopped (an endless loop prints hundreds of MB a second).
inline constexpr qint64 ghostscriptOutputLimit = 1024 * 1024;

struct EpsRendering {
    double dotsPerInch; // 72 makes one pixel per point
    QSize pixels;       // about the size of the result
    std::chrono::milliseconds timeLimit;
};

// Renders an EPS cropped to its bounding box, without access to any other file. Throws
// Error(ToolMissing) when gs is not installed, Error(ToolFailed) when it crashes, runs out of
// time or memory, or prints without end, Error(DamagedPicture) when it rejects the PostScript,
// Error(Cancelled) when cancelled (Ghostscript is stopped at once).
QImage renderEps(QByteArrayView eps, const EpsRendering& rendering, Progress& progress);

} // namespace imaging::codecs
