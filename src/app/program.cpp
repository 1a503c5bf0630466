#include "app/program.h"

#include "app/appicon.h"
#include "app/main.h"
#include "data/data.h"
#include "dbmanage/move.h"
#include "dbmanage/newbase.h"
#include "dbmanage/opties.h"
#include "dbmanage/paswoord.h"
#include "framework/application.h"
#include "views/Thumb.h"
#include "views/about.h"
#include "views/fullscreen.h"
#include "views/help.h"
#include "views/labels.h"

Program::Program(DialogService& dialogs)
{
    // Errors escaping the commands are shown through the program's dialogs.
    if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance()))
        app->setDialogService(&dialogs);
    form1_ = std::make_unique<TForm1>(dialogs);
    form1_->setWindowIcon(applicationIcon());
    db_ = std::make_unique<Tdb>();
    // The modal windows belong to the main window, which closes them with itself.
    ModalWindows windows;
    windows.Form2 = new TForm2(form1_.get());
    windows.Form4 = new TForm4(form1_.get());
    windows.Form7 = new TForm7(form1_.get());
    windows.Form5 = new TForm5(form1_.get());
    windows.Form3 = new TForm3(form1_.get());
    windows.Form8 = new TForm8(form1_.get());
    windows.Form9 = new TForm9(form1_.get());
    windows.Form10 = new TForm10(form1_.get());
    windows.Form11 = new TForm11(form1_.get());
    form1_->bind(*db_, windows);
}

// The main window goes first: its controls let go of the data module's tables.
Program::~Program()
{
    form1_.reset();
    db_.reset();
    if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance()))
        app->setDialogService(nullptr);
}
