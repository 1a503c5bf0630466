#include "imaging/printing.h"

#include <QObject>
#include <QPainter>
#include <QPrinter>

#include "imaging/error.h"

namespace imaging {

QImage printedPart(const QImage& picture, QSize printable)
{
    const QRect visible = picture.rect().intersected(QRect(QPoint(0, 0), printable));
    // Only what is printed goes to the printer: a picture much larger than the page would
    // otherwise be sent whole.
    return visible == picture.rect() ? picture : picture.copy(visible);
}

void printPicture(QPrinter& printer, const QImage& picture, const QString& jobName)
{
    printer.setDocName(jobName);
    printer.setFromTo(0, 0);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(ErrorCode::PrintFailed, QObject::tr("The printer %1 could not be opened").arg(printer.printerName()));
    // The painter's origin is the printable area's top-left and its unit one printer dot.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(QPoint(0, 0), printedPart(picture, QSize(printer.width(), printer.height())));
    if (!painter.end())
        throw Error(ErrorCode::PrintFailed, QObject::tr("The print job %1 could not be finished").arg(jobName));
}

} // namespace imaging
