// Making an album the open one: the password gate, then activation, which opens the album's
// tables and applies its settings to the picture view and the main window.
#pragma once

#include <string>

class MainView;
class TForm4;
class TPDBMultiImage;
class Tdb;
struct AlbumSettings;

class AlbumActivation {
public:
    AlbumActivation(Tdb& db, TPDBMultiImage& view, MainView& window, TForm4& passwordWindow);

    // Opens the album's settings table and, when the album is protected, asks for its
    // password; activates the album if it may be opened. A missing settings table is an error
    // for the caller; a refused password leaves no album open, silently.
    void PasswordGate(const std::string& directory, const std::string& baseName);
    // Activates an album whose settings table is open. A failure is reported in the caption
    // (its reason on standard error), switches automatic opening off and leaves no album open.
    void ActivateDatabase(const std::string& directory, const std::string& baseName);

private:
    void applySettings(const AlbumSettings& settings);
    void closeHalfOpenedAlbum();

    Tdb& db_;
    TPDBMultiImage& view_;
    MainView& window_;
    TForm4& passwordWindow_;
};
