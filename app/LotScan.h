// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

// One lot of a neighbourhood and the object types placed on it.
struct LotRecord {
    QString folder; // the neighbourhood folder
    QString file;   // the lot file
    // The lot's name: always null, since no public description of the lot files says for sure
    // where the game keeps it.
    QString name;
    QList<quint32> guids; // distinct, in the order the lot lists them
};

// A lot file that could not be read: reported and skipped.
struct LotProblem {
    QString file;
    QString reason;
};

// The lots of the neighbourhoods, with their GUIDs.
struct LotScan {
    QList<LotRecord> lots;
    QList<LotProblem> problems;
    QHash<quint32, QList<int>> byGuid; // GUID -> indexes into lots, in order
    // The lots that placed guid, in order.
    QList<int> lotsUsing(quint32 guid) const { return byGuid.value(guid); }
};

// Reads the lot files of the neighbourhood folders (only reads them). Any thread.
LotScan ScanLots(const QStringList& neighbourhoods);
