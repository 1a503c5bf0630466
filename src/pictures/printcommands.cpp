#include "pictures/printcommands.h"

#include <QPrinter>
#include <QtConcurrent/QtConcurrentRun>

#include "data/data.h"
#include "framework/dialogservice.h"
#include "framework/mainview.h"
#include "imaging/error.h"
#include "imaging/pdbmultiimage.h"
#include "imaging/printing.h"
#include "pictures/markedrun.h"
#include "pictures/whilepainting.h"

namespace {

struct PrintOutcome {
    int code = 0; // 0: printed
    QString text;
};

} // namespace

PrintCommands::PrintCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window)
    : db_(db), view_(view), dialogs_(dialogs), window_(window),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{}

PrintCommands::~PrintCommands() = default;

QString PrintCommands::jobName() const
{
    const QString name = QString::fromStdString(db_.Table1.fieldByName("NAAM").asString()).trimmed();
    return name.isEmpty() ? QStringLiteral("Kadrix") : QStringLiteral("Kadrix %1").arg(name);
}

void PrintCommands::printJob(const QImage& picture)
{
    QPrinter& printer = *printer_;
    const QString name = jobName();
    const PrintOutcome outcome = waitWhilePainting(QtConcurrent::run([&printer, picture, name] {
        try {
            imaging::printPicture(printer, picture, name);
        } catch (const imaging::Error& error) {
            return PrintOutcome{error.codeValue(), error.text()};
        }
        return PrintOutcome{};
    }));
    if (outcome.code != 0)
        view_.reportError(outcome.code, outcome.text);
}

void PrintCommands::printerSetup()
{
    dialogs_.printerSetup(window_.dialogParent(), *printer_);
}

void PrintCommands::printShown()
{
    if (!dialogs_.print(window_.dialogParent(), *printer_))
        return;
    const QImage picture = view_.picture();
    if (picture.isNull())
        return;
    const BusyScope busy(window_);
    window_.showProgressPercent(0);
    printJob(picture);
    window_.showProgressPercent(100);
}

void PrintCommands::printMarked()
{
    window_.showMarkedPictures();
    if (!dialogs_.print(window_.dialogParent(), *printer_))
        return;
    MarkedRun(db_, view_, window_).run([this](const RunPicture& picture) {
        // A record without a picture that can be shown is passed over without a message.
        if (!picture.image().isNull())
            printJob(picture.image());
        return true;
    });
}
