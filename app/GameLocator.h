#pragma once

#include <QString>

// The game's install folder: the registry value "InstallPath" first, then the Steam
// libraries' "The Sims Legacy Collection" (only a folder that holds GameData). Returns a
// local path, or the empty text.
QString GetGameFolder();
