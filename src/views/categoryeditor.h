// Naming the 24 categories of the open album: the editor window is filled from the category
// table's one record and, however it is closed, every name is written back; the main window's
// category labels, bound to that record, show the new names at once.
#pragma once

class MainView;
class TForm2;
class Tdb;

class CategoryEditor {
public:
    CategoryEditor(Tdb& db, MainView& window, TForm2& editor);

    void editNames();

private:
    Tdb& db_;
    MainView& window_;
    TForm2& editor_;
};
