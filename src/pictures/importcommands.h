// Adding pictures to the open album: one file chosen with a preview, many files at once, and
// the clipboard's picture. Each picture becomes one new record at the end of the table; every
// import first shows all pictures, so the new ones are visible.
#pragma once

class DialogService;
class MainView;
class QString;
class TMMOpenDialog;
class TPDBMultiImage;
class TTable;
class Tdb;

// The first steps of every import: all pictures shown, a new, empty record appended (the table
// is then inserting and the view shows the empty record).
void beginImport(Tdb& db, MainView& window);

class ImportCommands {
public:
    ImportCommands(Tdb& db, TPDBMultiImage& view, DialogService& dialogs, MainView& window,
                   TMMOpenDialog& openFileWindow);

    // The chosen file becomes a new record, left pending (stored when the record changes).
    void importSingle();
    // Each chosen file becomes a record, the last one left pending; progress is shown.
    void importMultiple();
    // The clipboard's picture becomes a new, stored record; without one nothing is added.
    void importClipboard();

private:
    void loadPicture(const QString& path);

    Tdb& db_;
    TPDBMultiImage& view_;
    DialogService& dialogs_;
    MainView& window_;
    TMMOpenDialog& openFileWindow_;
};
