#include "views/helptexts.h"

const std::vector<HelpPage>& helpPages()
{
    static const std::vector<HelpPage> pages{
        {QStringLiteral("Database"),
         {{QStringLiteral("Open"),
           QStringLiteral("Open an existing database. Use the dialog to browse to a database and choose open.")},
          {QStringLiteral("Options"), QStringLiteral("View and change some general options about the program. "
                                                     "Password protection, behaviour of the browser etc. ")},
          {QStringLiteral("New"),
           QStringLiteral("Create a new database, choose a directory for the database and a database name.")},
          {QStringLiteral("Delete"), QStringLiteral("Remove a database, choose the drive and directory of the "
                                                    "database and click on the database name")},
          {QStringLiteral("Move"), QStringLiteral("Move a database, choose a drive and directory of the database you "
                                                  "wish to move. Choose a drive/directory of the destination.")},
          {QStringLiteral("Copy"), QStringLiteral("Copy a database, choose a drive and directory of the database you "
                                                  "wish to copy. Choose a drive/directory of the destination.")}}},
        {QStringLiteral("Picture"),
         {{QStringLiteral("Single"), QStringLiteral("Import a single file, includes thumbnail preview")},
          {QStringLiteral("Multi"), QStringLiteral("Import multiple pictures")},
          {QStringLiteral("Clipboard"), QStringLiteral("Import a picture from the clipboard")},
          {QStringLiteral("File"), QStringLiteral("Export a picture from the database to a file")},
          {QStringLiteral("Clipboard"), QStringLiteral("Export a picture from the database to the clipboard")},
          {QStringLiteral("Setup"), QStringLiteral("Setup the printer")},
          {QStringLiteral("Print"), QStringLiteral("Output the current picture to the printer")}}},
        {QStringLiteral("Scanner"),
         {{QString(), QStringLiteral("The scanner menu is used to be able to use a Scanner, Camera or other twain "
                                     "device to import pictures from. Ofcourse you must have the twain drivers "
                                     "installed to be able to use this feature.")},
          {QStringLiteral("Select"), QStringLiteral("Make a selection among the twain devices that are available")},
          {QStringLiteral("Scan"), QStringLiteral("Use the selected twain driver to import an image")}}},
        {QStringLiteral("Category"),
         {{QString(), QStringLiteral("Use this window to view and change the categories of the pictures.")},
          {QString(), QStringLiteral("You can arrange all the pictures in the database into 24 categories. First "
                                     "enter the categories you wish to use")},
          {QString(), QStringLiteral("Next close the window and you will see the categories appear next to the "
                                     "green 'bar'on the right.")},
          {QString(), QStringLiteral("Browse through the pictures and select the categories the picture belongs to. "
                                     "Select them by pressing the corresponding green checkbox (turns red).")},
          {QString(), QStringLiteral("Click on the name of the category to view only those pictures that belong to "
                                     "this selection. ")},
          {QString(), QStringLiteral("Click on the 'Show All'-button to turn filtering off.")}}},
        {QStringLiteral("Effect"),
         {{QString(), QStringLiteral("There are lots of effects available. Click this option and a new window will "
                                     "appear. Make the changes you wish, choose 'Apply' and 'Close and Save' to make "
                                     "the changes permanent.")}}},
        {QStringLiteral("Browsing"),
         {{QString(), QStringLiteral("The trackbar is used to give an indication of where you are in the database "
                                     "and to move quick inside the base (drag the bar).")},
          {QString(), QStringLiteral("The Play-button starts the slideshow. The direction is the direction of the "
                                     "green arrow-button.")},
          {QString(), QStringLiteral("Press the fullscreen-button to view images fullscreen.")},
          {QString(), QStringLiteral("Press the thumb-button to get a thumbnail view of the pictures in the "
                                     "database.")}}},
        {QStringLiteral("Batch"),
         {{QString(), QStringLiteral("BatchProcessing applies to all pictures that are visible by pressing the "
                                     "navigation buttons (next/previous)")},
          {QString(), QStringLiteral("You can save/print all pictures: Choose a filter (catagory or checked) and "
                                     "choose save-as or print from the menu.")}}},
    };
    return pages;
}
