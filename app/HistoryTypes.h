// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// What the history keeps of one change to an object file: one row of its journal.
struct HistoryChange {
    qint64 id = 0;
    QDateTime time;                        // UTC
    QString file;                          // absolute path
    QString kind = QStringLiteral("save"); // "save", "delete", "move" or "restore"
    QString program;                       // "window" or "cli"
    QString batch;                         // shared by the changes made together
    QString summary;                       // what changed, in words
    QByteArray beforeHash; // SHA-256 hex of the bytes before; empty: there was no file
    qint64 beforeSize = 0;
    QByteArray afterHash; // SHA-256 hex of the bytes after; empty: the file was removed
    qint64 afterSize = 0;
    QString trashPath;      // where a deleted file went in the trash, or a moved one went
    bool firstCopy = false; // the bytes before are the file's content before Kestrane changed it
};

// Who makes a change and how it is described; every writer of object files passes one.
struct ChangeInfo {
    QString program; // "window" or "cli"
    QString batch;   // empty: a batch of its own
    QString summary;
    QString kind = QStringLiteral("save");
};

// A new batch ID for changes that belong together.
QString NewBatchId();

// One file of a restore, worked out before anything is changed.
struct RestoreItem {
    qint64 changeId = 0;   // the change whose "before" is put back
    QString file;          // absolute path
    QByteArray targetHash; // SHA-256 hex of the bytes to put back; empty: the file is removed
    qint64 targetSize = 0;
    // The file differs from what Kestrane last left there (another program changed it, or
    // it was put back or removed by hand): restoring replaces that. Ask first.
    bool changedElsewhere = false;
    bool fileExists = false;    // something is at the path now
    bool folderMissing = false; // the file's folder is gone and will be made again
    QString trashPath;          // a deleted file's place in the trash, when it still holds it
    bool moved = false;         // trashPath is where a move took it: brought back, never over
    bool copyAvailable = false; // the bytes to put back are in the trash or the store
};
