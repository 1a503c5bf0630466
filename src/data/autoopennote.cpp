#include "data/autoopennote.h"

#include <fstream>
#include <system_error>

#include "data/kdx.h"

std::filesystem::path AutoOpenNote::path()
{
    return kdxDirectory() / "reg.db.opening";
}

bool AutoOpenNote::leftBehind()
{
    std::error_code ignored;
    return std::filesystem::exists(path(), ignored);
}

void AutoOpenNote::discard()
{
    std::error_code ignored;
    std::filesystem::remove(path(), ignored);
}

AutoOpenNote::AutoOpenNote()
{
    // Without the note (a read-only settings folder) the album is opened all the same; only
    // the protection against a start that fails every time is lost.
    std::ofstream(path()) << "The remembered album is being opened.\n";
}

AutoOpenNote::~AutoOpenNote()
{
    discard();
}
