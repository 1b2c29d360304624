// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogTypes.h"
#include "ChangeSummary.h"
#include "HistoryTypes.h"
#include "ObjectEdit.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class HistoryStore;

// Changing many objects at once, for the window and the command line alike: the objects are
// chosen and planned first (nothing changes), then applied file by file, each file saved whole
// through the save path under one batch ID, in groups that share one journal commit.

// The chosen objects of one loose file, as the scan saw them.
struct BatchFile {
    QString path;
    QList<CatalogObject> objects;
};

// What a selection of catalog rows comes to.
struct BatchSelection {
    QList<BatchFile> files; // loose files, in the order their rows were first met
    QStringList leftAlone;  // the game's own objects, which are never changed: "name (where)"
    int objectCount() const;
};

// How a person is shown a path (below the game folder, say).
using ShownPathFunction = std::function<QString(const QString&)>;

// The rows (indexes into catalog.rows) grouped by file; archive rows are left alone, each
// named with its archive entry as shown gives it.
BatchSelection SelectRows(const CollectionCatalog& catalog, const QList<int>& rows,
                          const ShownPathFunction& shown = {});

// What an edit would do to the selection, worked out from the scanned values.
struct BatchPlan {
    int objectsToChange = 0;
    int filesToChange = 0;
    int alreadyAsAsked = 0;
    QStringList refusals; // objects whose new price would leave 0-65535; nothing is done
};
BatchPlan PlanBatch(const BatchSelection& selection, const ObjectEdit& edit);

enum class BatchFailure { None, ReadOnly, Damaged, Vanished, Locked, Refused, NameClash, Failed };
// "read-only", "damaged", ...
QString FailureWord(BatchFailure failure);

// One object changed (or that would change, in a dry run).
struct ObjectChange {
    QString file;
    quint16 id = 0;
    ObjectFields before, after;
};

struct FileOutcome {
    QString file;
    int changed = 0;        // objects changed
    int alreadyAsAsked = 0; // objects left untouched, already as asked
    BatchFailure failure = BatchFailure::None;
    QString reason;  // for a person, with a failure
    QString movedTo; // where a moved file went
};

struct BatchResult {
    QList<FileOutcome> files; // the files worked on, in order
    QList<ObjectChange> changes;
    QStringList leftAlone;
    bool cancelled = false; // stopped before the next file; files() holds those done

    int filesChanged() const;
    int alreadyAsAsked() const;
    QList<FileOutcome> failures() const;
    // Several lines for a person: files changed, objects already as asked, failures, each
    // failed file as shown gives it (its native path without).
    QString summary(const ShownPathFunction& shown = {}) const;
};

struct BatchOptions {
    ChangeInfo info;           // program; the batch ID is made when empty
    bool dryRun = false;       // plan and read, change nothing
    bool allowDamaged = false; // save damaged files all the same (dropping what was unreadable)
};

// done of total files; called on the thread that applies.
using BatchProgress = std::function<void(int done, int total)>;

// Applies the edit to the chosen objects, file by file, reading each file anew. An object
// already as asked is not written; a file with nothing to change is not rewritten. A file that
// fails does not stop the others. When *cancel turns true it stops before the next file.
// Any thread; the store belongs to it.
BatchResult ApplyBatch(HistoryStore& store, const QList<BatchFile>& files, const ObjectEdit& edit,
                       const BatchOptions& options, const BatchProgress& progress = {},
                       const std::atomic<bool>* cancel = nullptr);

// What to do when the target folder already holds a file of the same name.
enum class NameClash { Skip, KeepBoth };
// "Sofa (2).iff" beside "Sofa.iff" in folder: the first name that is free.
QString FreeName(const QString& folder, const QString& fileName);

// Moves the files into folder (made when missing), never over a file there.
BatchResult MoveBatch(HistoryStore& store, const QStringList& files, const QString& folder,
                      NameClash clash, const BatchOptions& options,
                      const BatchProgress& progress = {},
                      const std::atomic<bool>* cancel = nullptr);
// Moves the files to the trash.
BatchResult TrashBatch(HistoryStore& store, const QStringList& files, const BatchOptions& options,
                       const BatchProgress& progress = {},
                       const std::atomic<bool>* cancel = nullptr);
