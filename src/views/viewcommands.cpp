#include "views/viewcommands.h"

#include "data/data.h"
#include "imaging/pdbmultiimage.h"
#include "views/Thumb.h"
#include "views/about.h"
#include "views/categoryeditor.h"
#include "views/help.h"
#include "views/labels.h"

ViewCommands::ViewCommands(Tdb& db, MainView& window, TPDBMultiImage& mainPictureView, const ViewWindows& windows,
                           FullScreenCommands fullScreen)
    : windows_(windows), mainPictureView_(mainPictureView), pictures_(db.DataSource1),
      categories_(std::make_unique<CategoryEditor>(db, window, windows.Form2))
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
    // While the viewer covers the main window only the viewer decodes, so its steps are as
    // quick as the main window's; the main view takes up the current picture when it closes.
    struct Detached {
        TPDBMultiImage& view;
        TDataSource& source;
        ~Detached() { view.setDataSource(&source); }
    } detached{mainPictureView_, pictures_};
    mainPictureView_.setDataSource(nullptr);
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
