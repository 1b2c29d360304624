// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryTypes.h"

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

class HistoryStore;
class clsIFF;
struct CollectionCatalog;
struct LotScan;

// Giving a downloaded object, with every tile of it, new GUIDs so that it no longer shares one
// with another object. Only the GUID field of each OBJD changes; its "original GUID" and every
// other chunk stay as they are.

struct GuidChange {
    quint16 id = 0; // OBJD ID
    quint32 oldGuid = 0;
    quint32 newGuid = 0;
};

struct GuidMendPlan {
    quint16 object = 0;
    QList<GuidChange> changes; // the object's OBJD and its tiles', in load order
    // An old GUID's four bytes appear elsewhere in the file (the object's code may test for
    // its own GUID): the object may behave differently afterwards.
    bool selfReference = false;
    QString error; // why it cannot be done, for a person; empty when it can
};

// Every GUID the scan, the game's archives and the lots use.
QSet<quint32> GuidsInUse(const CollectionCatalog& catalog, const LotScan& lots);

// Works out the new GUIDs for OBJD objdId of doc and its tiles (the OBJDs sharing its non-zero
// group number): random ones outside used, or requested for objdId itself (refused when used).
// Nothing changes.
GuidMendPlan PlanNewGuid(const clsIFF& doc, quint16 objdId, const QSet<quint32>& used,
                         std::optional<quint32> requested = std::nullopt);

// Writes the plan's GUIDs into doc and saves it over path through the history, as one change.
bool ApplyNewGuid(HistoryStore& store, clsIFF& doc, const QString& path, const GuidMendPlan& plan,
                  const ChangeInfo& info, QString* error);
