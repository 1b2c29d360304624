// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// One row of the Find Object window: an object of the collection, or a file with a problem.
// Text is already decoded for display.
struct FindRow {
    int file = -1;        // index into the catalog's files
    int objdId = -1;      // the OBJD; -1 for a problem row
    bool listed = false;  // the object list of its file shows the object (tiles are not shown)
    bool canOpen = false; // a loose file of the file list, not an entry of a game archive
    QString path;         // the loose file's full path (the archive's for its entries)
    QString name;         // catalog name; empty when the object has none
    qint32 price = 0;
    QString fileText;  // the file as shown: below the game folder when it lies there
    QString wholePath; // the file's whole path (with the archive's entry), for the tooltip
    quint32 guid = 0;
    int group = -1; // conflicts: the group's number, groups in GUID order
    bool identicalCopy = false;
    QString problem;       // problem rows: why
    QString search;        // case-folded text the search box looks in (when no matcher is set)
    int lots = 0;          // how many of the player's lots placed the GUID
    QString lotsText;      // those lots, one a line, for the tooltip
    QList<int> lotNumbers; // their numbers, for "lot:N" in the search box

    bool isProblem() const { return objdId < 0; }
};
