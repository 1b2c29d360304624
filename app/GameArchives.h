// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The game's own object archives: every "*.far" directly inside the game folder's
// GameData/Objects, ExpansionShared, Deluxe and ExpansionPack* folders (names in any case),
// folders in that order (expansion packs by name), archives by name within a folder. An
// empty or missing game folder gives none.
QStringList FindGameArchives(const QString& gameFolder);
