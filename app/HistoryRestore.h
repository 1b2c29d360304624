// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryTypes.h"

#include <QList>
#include <QString>
#include <optional>

class HistoryStore;

// Putting files back as they were before a change. A restore is planned first (nothing
// changes), so that the caller can ask the person, naming the files that were changed
// elsewhere since Kestrane last wrote them; then RestoreFiles() carries the plan out through
// the save path, keeping each file's current bytes first, so that a restore can be undone too.

// The file of one change, put back as it was before it.
std::optional<RestoreItem> PlanRestore(const HistoryStore& store, qint64 changeId);
// Every file of a batch, each as it was before the batch's first change to it.
QList<RestoreItem> PlanBatchRestore(const HistoryStore& store, const QString& batchId);
// Undoes the file's latest change.
std::optional<RestoreItem> PlanUndoLatest(const HistoryStore& store, const QString& file);
// The content the file had before Kestrane first changed it.
std::optional<RestoreItem> PlanOriginal(const HistoryStore& store, const QString& file);

// What became of one file of a restore.
struct RestoreOutcome {
    QString file;
    bool restored = false;
    QString error; // why not, for a person
};

// Carries out a plan as one batch (info.batch, or a new one when empty; info.summary, when
// empty, names the change undone). A file that is already as planned is left alone. The
// files are restored in turn; one that fails does not stop the others. True when all were.
bool RestoreFiles(HistoryStore& store, const QList<RestoreItem>& plan, const ChangeInfo& info,
                  QList<RestoreOutcome>* outcomes = nullptr);

// The trash's record of a file moved there (".../Trash/info/NAME.trashinfo" for
// ".../Trash/files/NAME").
QString TrashInfoOf(const QString& trashedPath);
