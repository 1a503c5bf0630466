// The program's icon, drawn at every size the desktop asks for, and the desktop entry it
// belongs to.
#pragma once

#include <QIcon>

QIcon applicationIcon();

inline constexpr const char* desktopEntryId = "io.github.kadrix.Kadrix";
