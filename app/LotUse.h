// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogTypes.h"
#include "LotScan.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the player's lots have to do with the objects of a collection.

// The lots that lose placed objects once the loose files at removed are gone: those placing a
// GUID of those files that no other file of the catalog (the game's archives included) holds.
// Indexes into lots.lots, in order.
QList<int> LotsLosingObjects(const CollectionCatalog& catalog, const LotScan& lots,
                             const QStringList& removed);

// A lot for a person: "UserData2, House01.iff", and the lot's name when the file holds one.
QString LotLabel(const LotRecord& lot);

// The lot numbers of the words "lot:N" of a search text (N of HouseN.iff); *rest is the text
// without those words. A "lot:" still waiting for its number is left out as well.
QList<int> TakeLotNumbers(const QString& text, QString* rest);

// N of a lot file named HouseN.iff; -1 for another name.
int LotNumber(const QString& lotFile);
