// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryTypes.h"

#include <QByteArray>
#include <QString>

class HistoryStore;
class clsIFF;

// The one path by which Kestrane replaces or removes an object file. With the history on
// (the store's setting), the bytes the file holds are kept and synced and a journal row is
// committed before the file is replaced or moved to the trash; the row is then marked done.
// When no copy can be kept (disk full, history folder not writable, journal busy for more than
// a few seconds) nothing is changed and *error says why. With the history off, files are
// written as they always were. The store is opened on first use.

// Saves the document over path (SaveFile with the history's hook). A save that leaves the
// bytes as they were records nothing.
bool SaveDocumentKept(HistoryStore& store, clsIFF& document, const QString& path,
                      const ChangeInfo& info, QString* error);
// Replaces (or creates) path with bytes, its folder made when missing.
bool WriteFileKept(HistoryStore& store, const QString& path, const QByteArray& bytes,
                   const ChangeInfo& info, QString* error);
// One file of a group for WriteFilesKept: what to write, and how it went.
struct KeptWrite {
    QString path;
    QByteArray bytes;
    ChangeInfo info;
    bool written = false; // replaced (or created), synced and recorded
    QString error;        // why not, for a person
};
// WriteFileKept for a group of files, each with its own history row: their copies are kept and
// their pending rows committed in one transaction, then the files are replaced (several at
// once) and their rows marked done in one more. A file that fails leaves the others be; its
// row is dropped unless the file was replaced after all. The paths are distinct.
void WriteFilesKept(HistoryStore& store, QList<KeptWrite>& writes);
// Moves path to the trash; *trashedPath (when given) is where it went.
bool TrashFileKept(HistoryStore& store, const QString& path, const ChangeInfo& info,
                   QString* trashedPath, QString* error);
// Moves from to the path to (never over a file there), recorded as a "move" whose restore
// moves it back.
bool MoveFileKept(HistoryStore& store, const QString& from, const QString& to,
                  const ChangeInfo& info, QString* error);
// Delete File: RecycleFile (asks through the prompt seam) with TrashFileKept as the move.
bool RecycleFileKept(HistoryStore& store, const QString& path, const ChangeInfo& info,
                     QString* error);

// The text that opens every refusal for want of a copy.
QString NoCopyMessage(const QString& reason);
