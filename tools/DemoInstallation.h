// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The game folder inside a demo prefix, as the registry entry names it.
inline constexpr const char* kDemoInstallPath = "C:\\Program Files\\Maxis\\The Sims";

// Writes a Wine-style prefix at prefixDir holding a small installation of the game with
// generated object files: system.reg with the game's InstallPath, dosdevices/c: linked to
// drive_c, and the game folder's object folders. Running it again over the same folder
// replaces the demo's files; a folder whose system.reg is not the demo's is refused untouched.
// False with a message in *error when something could not be written.
bool MakeDemoInstallation(const QString& prefixDir, QString* error);
// The game folder that MakeDemoInstallation creates under prefixDir (ends in "/").
QString DemoGameFolder(const QString& prefixDir);
