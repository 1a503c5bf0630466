// Commands whose windows and work are not part of this version yet. Each says so plainly
// instead of doing something that looks like success.
#include "app/main.h"

#include "framework/dialogservice.h"

void TForm1::JPG1Click()
{
    notYetAvailable(tr("Export to a JPG file"));
}
void TForm1::GIF1Click()
{
    notYetAvailable(tr("Export to a GIF file"));
}
void TForm1::BMP1Click()
{
    notYetAvailable(tr("Export to a BMP file"));
}
void TForm1::TIF1Click()
{
    notYetAvailable(tr("Export to a TIF file"));
}
void TForm1::TGA1Click()
{
    notYetAvailable(tr("Export to a TGA file"));
}
void TForm1::PCX1Click()
{
    notYetAvailable(tr("Export to a PCX file"));
}
void TForm1::PNG1Click()
{
    notYetAvailable(tr("Export to a PNG file"));
}
void TForm1::EPS1Click()
{
    notYetAvailable(tr("Export to an EPS file"));
}
void TForm1::asJPG1Click()
{
    notYetAvailable(tr("Batch export to JPG files"));
}
void TForm1::asGIF1Click()
{
    notYetAvailable(tr("Batch export to GIF files"));
}
void TForm1::asBMP1Click()
{
    notYetAvailable(tr("Batch export to BMP files"));
}
void TForm1::asTIF1Click()
{
    notYetAvailable(tr("Batch export to TIF files"));
}
void TForm1::asTGA1Click()
{
    notYetAvailable(tr("Batch export to TGA files"));
}
void TForm1::asPCX1Click()
{
    notYetAvailable(tr("Batch export to PCX files"));
}
void TForm1::asPNG1Click()
{
    notYetAvailable(tr("Batch export to PNG files"));
}
void TForm1::asEPS1Click()
{
    notYetAvailable(tr("Batch export to EPS files"));
}
void TForm1::ExportClipboard1Click()
{
    notYetAvailable(tr("Export to the clipboard"));
}
void TForm1::PrinterSetup1Click()
{
    notYetAvailable(tr("Printer setup"));
}
void TForm1::Print1Click()
{
    notYetAvailable(tr("Printing"));
}
void TForm1::Print2Click()
{
    notYetAvailable(tr("Printing the checked pictures"));
}

void TForm1::notYetAvailable(const QString& command)
{
    dialogs_.showInformation(this, windowTitle(),
                             tr("%1 is not available in this version of Kadrix yet.").arg(command));
}
