// Commands whose windows and work are not part of this version yet. Each says so plainly
// instead of doing something that looks like success.
#include "app/main.h"

#include "framework/dialogservice.h"

void TForm1::Opties1Click()
{
    notYetAvailable(tr("Options"));
}
void TForm1::Move1Click()
{
    notYetAvailable(tr("Moving an album"));
}
void TForm1::Copy1Click()
{
    notYetAvailable(tr("Copying an album"));
}
void TForm1::DeletePicture1Click()
{
    notYetAvailable(tr("Deleting a picture"));
}
void TForm1::MarkallPictures1Click()
{
    notYetAvailable(tr("Marking all pictures"));
}
void TForm1::Unmarkallpictures1Click()
{
    notYetAvailable(tr("Unmarking all pictures"));
}
void TForm1::Processing1Click()
{
    notYetAvailable(tr("Filters and effects"));
}
void TForm1::Labels1Click()
{
    notYetAvailable(tr("The category editor"));
}
void TForm1::SpeedButton8Click()
{
    notYetAvailable(tr("The thumbnail manager"));
}
void TForm1::SpeedButton9Click()
{
    notYetAvailable(tr("The full-screen viewer"));
}
void TForm1::Help1Click()
{
    notYetAvailable(tr("Help"));
}
void TForm1::About1Click()
{
    notYetAvailable(tr("The About window"));
}

void TForm1::notYetAvailable(const QString& command)
{
    dialogs_.showInformation(this, windowTitle(),
                             tr("%1 is not available in this version of Kadrix yet.").arg(command));
}
