// Where the application settings table reg.db lives: the per-user configuration folder,
// $XDG_CONFIG_HOME/kadrix, or ~/.config/kadrix when XDG_CONFIG_HOME is unset or empty.
#pragma once

#include <filesystem>

std::filesystem::path kdxDirectory();
