#include "data/kdx.h"

#include <cstdlib>

#include "data/databaseerror.h"

std::filesystem::path kdxDirectory()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::filesystem::path(config) / "kadrix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config" / "kadrix";
    throw DatabaseError("Cannot find the settings folder: neither XDG_CONFIG_HOME nor HOME is set");
}
