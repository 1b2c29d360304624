// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ContentFiles.h"
#include "HistoryTypes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The history of changes to object files, kept in the data folder's "history/" folder: the
// contents the files held before each change and a journal of the changes in SQLite, which the
// window and kestrane-cli may write at the same moment. Contents up to 1 MiB are kept in the
// journal itself, in the same transaction as their row (one sync for both); larger ones as
// files (ContentFiles), synced before the row is committed. Its settings live
// in the journal, so that both programs honour them.
//
// A change is recorded in two steps around the replacement of the file: beginChange() keeps
// the old bytes and commits a pending row, then finishChange() marks it done (or
// cancelChange() drops it). A pending row left by a program that ended in between is settled
// when the journal is next opened: done when the file holds the new bytes, dropped when it
// still holds the old ones.
//
// An object belongs to the thread that opened it.
class JournalTransaction;

// One change about to be made, for beginChanges.
struct PendingChange {
    HistoryChange change;
    QByteArray beforeBytes;
    QString linkSource; // as for beginChange
    FileStamp sourceStamp;
};

class HistoryStore
{
public:
    static constexpr qint64 kDefaultSizeLimit = 1024ll * 1024 * 1024;

    // dataFolder: the folder of presets.dat (ends in "/").
    explicit HistoryStore(const QString& dataFolder);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Makes the history folder and journal when missing. False, with the reason, when the
    // history cannot be kept there.
    bool open(QString* error = nullptr);
    bool isOpen() const;
    QString folder() const { return m_folder; } // ".../history/"
    const ContentFiles& contents() const { return m_contents; }

    // --- settings, shared by every program using this data folder ---
    // "Keep a history of changes": on unless turned off.
    bool enabled() const;
    bool setEnabled(bool on, QString* error = nullptr);
    // Past this many bytes of kept copies, later copies are pruned, oldest first (1 GiB unless
    // set).
    qint64 sizeLimit() const;
    bool setSizeLimit(qint64 bytes, QString* error = nullptr);
    // Bytes the history takes on disk: kept contents and journal.
    qint64 storeSize() const;
    // Bytes of the kept copies, compressed as kept: what the size limit applies to.
    qint64 copiesSize() const;

    // --- recording (the save path uses these) ---
    // Keeps beforeBytes (when change.beforeHash is not empty), synced, then commits a pending
    // row for change. The row's ID, or 0 with the reason.
    // A large copy is kept by a hard link to linkSource when given: the file about to be
    // replaced, stamped when its bytes were read.
    qint64 beginChange(const HistoryChange& change, const QByteArray& beforeBytes, QString* error,
                       const QString& linkSource = QString(),
                       const FileStamp& sourceStamp = FileStamp());
    // beginChange for a group of changes, all their rows committed with one sync: the IDs in
    // order, 0 (with errors[i]) for a change whose copy could not be kept; all 0 when the
    // journal could not be written.
    QList<qint64> beginChanges(const QList<PendingChange>& changes, QStringList* errors);
    // The change was made: the row is done (with where a deleted file went in the trash).
    bool finishChange(qint64 id, const QString& trashPath = QString());
    bool finishChanges(const QList<qint64>& ids, const QString& trashPath = QString());
    // The change was not made: the pending row goes, and its copy when nothing else needs it.
    void cancelChange(qint64 id);
    void cancelChanges(const QList<qint64>& ids);
    // Prunes later copies, oldest first, while the history is over its size limit. A copy
    // that is some file's first copy is never pruned.
    void prune();

    // --- reading; only changes that were made, newest first ---
    // Every change, or those of the given files (absolute paths).
    QList<HistoryChange> changes(const QStringList& files = QStringList()) const;
    std::optional<HistoryChange> change(qint64 id) const;
    // The changes of one batch, oldest first.
    QList<HistoryChange> batch(const QString& batchId) const;
    std::optional<HistoryChange> latestChange(const QString& file) const;
    // The change whose "before" is the file's content before Kestrane first changed it.
    std::optional<HistoryChange> firstChange(const QString& file) const;
    // The kept bytes of a content, checked against their hash.
    std::optional<QByteArray> content(const QByteArray& hexHash, QString* error) const;
    // Whether the bytes of a content are kept (in the journal or as a file).
    bool hasContent(const QByteArray& hexHash) const;

    // Forgets every change (olderThanDays empty) or those older than that many days, and the
    // copies no remaining change needs.
    bool forget(std::optional<int> olderThanDays, QString* error = nullptr);

private:
    bool exec(const QString& sql, QString* error) const;
    QString setting(const QString& name) const;
    bool setSetting(const QString& name, const QString& value, QString* error);
    // One row (and its copy) in tx; *fatal when the transaction cannot go on.
    qint64 insertPending(JournalTransaction& tx, const PendingChange& pending,
                         const QByteArray& data, bool packed, QString* error, bool* fatal);
    void settlePending();
    void removeDoomed();
    void sweepStrays();
    QList<HistoryChange> select(const QString& where, const QVariantList& values,
                                const QString& order) const;

    QString m_folder;
    ContentFiles m_contents;
    QString m_connection;
    bool m_open = false;
};
