#include "views/viewcommands.h"

#include "data/data.h"
#include "views/Thumb.h"
#include "views/about.h"
#include "views/categoryeditor.h"
#include "views/help.h"
#include "views/labels.h"

ViewCommands::ViewCommands(Tdb& db, MainView& window, QWidget& mainPictureView, const ViewWindows& windows,
                           FullScreenCommands fullScreen)
    : windows_(windows), categories_(std::make_unique<CategoryEditor>(db, window, windows.Form2))
{
    windows_.Form10.bind(db.Table1, mainPictureView);
    windows_.Form11.bind(db.DataSource1, std::move(fullScreen));
}

ViewCommands::~ViewCommands() = default;

void ViewCommands::editCategories()
{
    categories_->editNames();
}

void ViewCommands::showThumbnails()
{
    windows_.Form10.ShowModal();
}

void ViewCommands::showFullScreen()
{
    windows_.Form11.ShowModal();
}

void ViewCommands::showHelp()
{
    windows_.Form3.ShowModal();
}

void ViewCommands::showAbout()
{
    windows_.Form5.ShowModal();
}
