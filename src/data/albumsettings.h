// The settings an album carries in its settings table, read as the program applies them when
// the album is activated: display, caption and the save settings of each picture format.
#pragma once

#include <optional>
#include <string>

class Tdb;
class TTable;

struct AlbumSettings {
    bool showName = false; // TITEL: the picture's name over the picture
    bool center = false;   // CENTER
    bool fit = false;      // PASSEND: fit pictures into the view
    int jpegQuality = 0;   // JPG QUALITY
    int jpegSmoothing = 0; // JPG SMOOTH
    bool pngInterlaced = false;
    std::string tifCompression; // one of "None", "CCITT", "FAX CCITT3", "FAX CCITT4", "LZW", "PACKBITS"
    std::string pcdMode;        // one of "Base", "Base / 4", "Base / 16"; other text chooses nothing
};

// Reads the settings record of an open settings table.
AlbumSettings readAlbumSettings(TTable& settings);

// Points the album handles at the album and opens its settings table, the first step of
// opening an album. A missing table is reported as the album being incomplete, naming the
// album and the table.
void openSettingsTable(Tdb& db, const std::string& directory, const std::string& baseName);

// Opens the picture and category tables of the album whose settings table is open (after
// openSettingsTable), and returns the album's settings; a missing table is reported as above.
AlbumSettings openAlbumTables(Tdb& db);

// The picture's name as the caption over the picture, when the album says to show it.
std::optional<std::string> pictureCaption(Tdb& db);
