// The commands of the DataBase menu that make, choose and remove albums: New, Open and Delete,
// and closing the open album, which each of them does first.
#pragma once

#include <QString>

#include <optional>

class AlbumActivation;
class DialogService;
class MainView;
class TForm8;
class Tdb;

class AlbumCommands {
public:
    AlbumCommands(Tdb& db, DialogService& dialogs, MainView& window, AlbumActivation& activation,
                  TForm8& newAlbumWindow);

    // Asks for a folder and a name and makes an empty album there, which stays open.
    void createAlbum();
    // Asks for an album's blob file and opens the album through the password gate.
    void openAlbum();
    // Asks for an album's blob file and removes the album's three tables.
    void deleteAlbum();
    // Shows all pictures, stores pending edits and closes the open album's tables; the window
    // then shows no album. What could not be stored is reported; the tables close anyway.
    void closeAlbum();

private:
    std::optional<QString> chooseAlbumFile(const QString& title, const QString& acceptLabel);

    Tdb& db_;
    DialogService& dialogs_;
    MainView& window_;
    AlbumActivation& activation_;
    TForm8& newAlbumWindow_;
};
