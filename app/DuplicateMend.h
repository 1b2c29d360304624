// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConflictFinder.h"
#include "HistoryTypes.h"

#include <QList>
#include <QStringList>

class HistoryStore;

// Identical copies of one object file: keeping one and moving the others to the trash mends
// their conflicts without touching a lot, since the GUIDs stay.

// The sets of loose files of the catalog whose bytes are equal and that share a GUID with one
// another, each set by path, sets in the order of their first conflict. The game's archives
// are never part of a set.
QList<QStringList> IdenticalCopySets(const CollectionCatalog& catalog,
                                     const CatalogBytesReader& readBytes);

// The copy kept by default: the one in the shallowest folder, then the first by path.
int DefaultCopyToKeep(const QStringList& paths);

// Moves every path but paths[keep] to the trash through the history, as one change (one
// batch, info.batch or a new one). Stops at the first failure; *trashed lists the paths moved.
bool KeepOneCopy(HistoryStore& store, const QStringList& paths, int keep, const ChangeInfo& info,
                 QStringList* trashed, QString* error);
