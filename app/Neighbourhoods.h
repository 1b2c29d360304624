// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The neighbourhood folders (UserData, UserData2 ... UserData8, names in any case) whose lots
// the installed game plays. The re-release copies the game folder's neighbourhoods on its first
// start to "Saved Games/Electronic Arts/The Sims 25" of the user's folder in its Wine or Proton
// prefix and plays those copies from then on; so where that prefix (the one the game folder lies
// in, or the Proton prefix of the Steam library holding it) has such copies, for any user, they
// are the ones, and otherwise the game folder's own. Only folders that exist are returned, users
// by name, then UserData before UserData2 ... UserData8.
QStringList FindNeighbourhoods(const QString& gameFolder);

// The lot files of a neighbourhood folder: its Houses/House*.iff (names in any case), by name.
QStringList LotFilesOf(const QString& neighbourhood);
