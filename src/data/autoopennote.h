// A note beside reg.db saying that the remembered album is being opened at start-up. It is
// written before the album is opened and removed once its first picture is shown; a start
// that finds it left behind knows the previous start ended while opening that album, and
// does not try again.
#pragma once

#include <filesystem>

class AutoOpenNote {
public:
    // Whether an earlier start left its note behind (it ended while opening the album).
    static bool leftBehind();
    // Removes a note left behind.
    static void discard();

    AutoOpenNote(); // writes the note
    ~AutoOpenNote();
    AutoOpenNote(const AutoOpenNote&) = delete;
    AutoOpenNote& operator=(const AutoOpenNote&) = delete;

private:
    static std::filesystem::path path();
};
