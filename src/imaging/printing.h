// Printing one picture as the album prints every picture: one job of one page, the picture's
// top-left corner at the printable area's top-left, one printer dot per picture pixel. The
// picture is never scaled; what lies beyond the printable area is cut off.
#pragma once

#include <QImage>
#include <QString>

class QPrinter;

namespace imaging {

// May run on a worker thread (the printer must not be used elsewhere meanwhile). The picture
// goes to PDF output without loss. Throws Error(PrintFailed) when the printer cannot be opened
// or the job not finished.
void printPicture(QPrinter& printer, const QImage& picture, const QString& jobName);

// The part of a picture that lands on a printable area of `printable` dots.
QImage printedPart(const QImage& picture, QSize printable);

} // namespace imaging
