// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the game is installed, and the Wine prefix whose registry holds its settings.
struct GameInstall {
    QString folder; // a local path; empty when nothing was found
    QString prefix; // the Wine (or Proton) prefix that goes with it; $WINEPREFIX's when none
};

// Looks in this order: the registry value "InstallPath" of the Wine prefix; the re-release in
// that prefix's drive_c ("Program Files", then "Program Files (x86)", "EA Games/The Sims
// Legacy"); the Steam libraries of native, then Flatpak Steam, each through the game's
// manifest and then the folder "The Sims Legacy Collection". Only a folder holding GameData
// counts, except that an InstallPath is returned when nothing else is found.
GameInstall LocateGame();
// LocateGame().folder.
QString GetGameFolder();
// The prefix that goes with a game folder given by hand: the one it lies in (".../drive_c/..."),
// the Proton prefix of a Steam library's game, else that of $WINEPREFIX.
QString PrefixOfGameFolder(const QString& folder);
