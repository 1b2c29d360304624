// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeptSave.h"

#include "HistoryStore.h"
#include "Sha256.h"
#include "SyncAlongside.h"
#include "Trash.h"
#include "clsIFF.h"
#include "modGeneral.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <atomic>
#include <future>
#include <optional>
#include <system_error>
#include <vector>

namespace
{

// The bytes a file holds now, to keep; nullopt (with the reason) when it cannot be read.
// An absent file gives empty bytes and an empty hash.
struct Before {
    QByteArray bytes;
    std::shared_future<QByteArray> hashing; // hex SHA-256 of bytes; empty for an absent file
    FileStamp stamp;                        // of the bytes read
    QByteArray hash() const { return hashing.get(); }
};

// Past this size the old bytes are hashed on another thread while the new file is written,
// which hides most of the hash's cost on a large save.
constexpr qint64 kHashAsideSize = 4 * 1024 * 1024;

std::optional<Before> readBefore(const QString& path, QString* error)
{
    Before before;
    if (!QFileInfo(path).exists()) {
        before.hashing = std::async(std::launch::deferred, [] { return QByteArray(); }).share();
        return before;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("The file could not be read to keep a copy: %1").arg(file.errorString());
        return std::nullopt;
    }
    before.stamp = StampOf(file.handle());
    before.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || !StampOf(file.handle()).sameBytes(before.stamp))
        before.stamp = FileStamp(); // changing while read: copied, never linked
    if (file.error() != QFileDevice::NoError) {
        *error =
            QStringLiteral("The file could not be read to keep a copy: %1").arg(file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = before.bytes;
    const auto hash = [bytes] { return Sha256(bytes).toHex(); };
    before.hashing =
        std::async(bytes.size() > kHashAsideSize ? std::launch::async : std::launch::deferred, hash)
            .share();
    return before;
}

bool openStore(HistoryStore& store, QString* error)
{
    QString reason;
    if (store.isOpen() || store.open(&reason))
        return true;
    *error = NoCopyMessage(reason);
    return false;
}

HistoryChange rowFor(const QString& path, const ChangeInfo& info, const Before& before)
{
    HistoryChange change;
    change.file = path;
    change.kind = info.kind;
    change.program = info.program;
    change.batch = info.batch;
    change.summary = info.summary;
    change.beforeHash = before.hash();
    change.beforeSize = before.bytes.size();
    return change;
}

// Runs a write that calls the hook before it replaces the file, recording the change there.
template <typename Write>
bool replaceKept(HistoryStore& store, const QString& path, const ChangeInfo& info, QString* error,
                 Write write)
{
    QString reason;
    const std::optional<Before> before = readBefore(path, &reason);
    if (!before) {
        *error = reason;
        return false;
    }
    qint64 id = 0;
    QByteArray afterHash;
    const clsIFF::BeforeReplace hook = [&](const QByteArray& sha, qint64 size, QString& hookError) {
        afterHash = sha.toHex();
        if (afterHash == before->hash() && !before->hash().isEmpty())
            return true; // the same bytes again: nothing to keep
        HistoryChange change = rowFor(path, info, *before);
        change.afterHash = afterHash;
        change.afterSize = size;
        QString keepError;
        id = store.beginChange(change, before->bytes, &keepError, path, before->stamp);
        if (id == 0)
            hookError = NoCopyMessage(keepError);
        return id != 0;
    };
    if (!write(hook, &reason)) {
        if (id != 0) {
            // The row is committed: keep it only when the file was replaced after all.
            if (HashOfFile(path).value_or(QByteArray()) == afterHash)
                store.finishChange(id);
            else
                store.cancelChange(id);
        }
        *error = reason;
        return false;
    }
    if (id != 0) {
        store.finishChange(id);
        store.prune();
    }
    return true;
}

// Files a group replaces at the same moment: their syncs share the disk's flushes.
constexpr qsizetype kWriters = 8;

// QSaveFile with the hook between the complete temporary file and the rename.
bool writeBytes(const QString& path, const QByteArray& bytes, const clsIFF::BeforeReplace& hook,
                QString* error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        *error = QStringLiteral("The folder %1 could not be made.").arg(folder);
        return false;
    }
    // A read-only file is replaced all the same and stays read-only, as a save does.
    const QFileInfo info(path);
    const auto mode = info.permissions() &
                      ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    const bool lent = info.exists() && !(mode & QFileDevice::WriteOwner) &&
                      QFile::setPermissions(path, mode | QFileDevice::WriteOwner);
    const auto giveBack = qScopeGuard([&] {
        if (lent)
            QFile::setPermissions(path, mode);
    });
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (hook) {
        QString hookError;
        const auto before = [&] { return hook(Sha256(bytes), bytes.size(), hookError); };
        if (!SyncAlongside(file, before)) {
            *error = hookError;
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

// Replaces each file with its bytes, several at once: a replacement waits mostly on the disk.
void writeAll(QList<KeptWrite*>& writes)
{
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype i = next++; i < writes.size(); i = next++) {
            KeptWrite& w = *writes[i];
            w.written = writeBytes(w.path, w.bytes, {}, &w.error);
        }
    };
    std::vector<std::future<void>> helpers;
    try {
        for (qsizetype t = 1; t < std::min<qsizetype>(kWriters, writes.size()); ++t)
            helpers.push_back(std::async(std::launch::async, work));
    } catch (const std::system_error&) {
        // No more threads: the ones there are share the work.
    }
    work();
    for (auto& helper : helpers)
        helper.get();
}

} // namespace

QString NoCopyMessage(const QString& reason)
{
    return QStringLiteral("No copy of the file could be kept in the history, so it was not "
                          "changed. %1")
        .arg(reason);
}

bool SaveDocumentKept(HistoryStore& store, clsIFF& document, const QString& path,
                      const ChangeInfo& info, QString* error)
{
    QString reason;
    if (!openStore(store, &reason)) {
        *error = reason;
        return false;
    }
    const auto save = [&](const clsIFF::BeforeReplace& hook, QString* saveError) {
        if (document.SaveFile(path, hook))
            return true;
        *saveError = document.errorString();
        if (saveError->isEmpty())
            *saveError = QStringLiteral("%1 could not be written.").arg(path);
        return false;
    };
    if (!store.enabled())
        return save({}, error);
    return replaceKept(store, QFileInfo(path).absoluteFilePath(), info, error, save);
}

bool WriteFileKept(HistoryStore& store, const QString& path, const QByteArray& bytes,
                   const ChangeInfo& info, QString* error)
{
    QString reason;
    if (!openStore(store, &reason)) {
        *error = reason;
        return false;
    }
    const auto write = [&](const clsIFF::BeforeReplace& hook, QString* writeError) {
        return writeBytes(path, bytes, hook, writeError);
    };
    if (!store.enabled())
        return write({}, error);
    return replaceKept(store, QFileInfo(path).absoluteFilePath(), info, error, write);
}

void WriteFilesKept(HistoryStore& store, QList<KeptWrite>& writes)
{
    QString reason;
    QList<KeptWrite*> toWrite;
    if (!openStore(store, &reason)) {
        for (KeptWrite& w : writes)
            w.error = reason;
        return;
    }
    if (!store.enabled()) {
        for (KeptWrite& w : writes)
            toWrite << &w;
        writeAll(toWrite);
        return;
    }
    QList<PendingChange> pending;
    QList<KeptWrite*> recorded; // with a row in pending
    for (KeptWrite& w : writes) {
        w.path = QFileInfo(w.path).absoluteFilePath();
        const std::optional<Before> before = readBefore(w.path, &w.error);
        if (!before)
            continue;
        toWrite << &w;
        const QByteArray afterHash = Sha256(w.bytes).toHex();
        if (afterHash == before->hash() && !before->hash().isEmpty())
            continue; // the same bytes again: nothing to keep
        HistoryChange change = rowFor(w.path, w.info, *before);
        change.afterHash = afterHash;
        change.afterSize = w.bytes.size();
        pending << PendingChange{change, before->bytes, w.path, before->stamp};
        recorded << &w;
    }
    QStringList errors;
    const QList<qint64> ids = store.beginChanges(pending, &errors);
    for (qsizetype i = 0; i < recorded.size(); ++i) {
        if (ids[i] == 0) {
            recorded[i]->error = NoCopyMessage(errors[i]);
            toWrite.removeOne(recorded[i]);
        }
    }
    writeAll(toWrite);
    QList<qint64> done, cancelled;
    for (qsizetype i = 0; i < recorded.size(); ++i) {
        if (ids[i] == 0)
            continue;
        // A failed write's row is kept only when the file was replaced after all.
        const bool replaced =
            recorded[i]->written ||
            HashOfFile(recorded[i]->path).value_or(QByteArray()) == pending[i].change.afterHash;
        (replaced ? done : cancelled) << ids[i];
    }
    store.finishChanges(done);
    store.cancelChanges(cancelled);
    if (!done.isEmpty())
        store.prune();
}

bool TrashFileKept(HistoryStore& store, const QString& path, const ChangeInfo& info,
                   QString* trashedPath, QString* error)
{
    QString reason, trashed;
    if (!openStore(store, &reason)) {
        *error = reason;
        return false;
    }
    if (!store.enabled()) {
        const bool moved = MoveToTrash(path, error, &trashed);
        if (trashedPath)
            *trashedPath = trashed;
        return moved;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const std::optional<Before> before = readBefore(absolute, &reason);
    if (!before) {
        *error = reason;
        return false;
    }
    HistoryChange change = rowFor(absolute, info, *before);
    change.kind = info.kind == QLatin1String("save") ? QStringLiteral("delete") : info.kind;
    const qint64 id = store.beginChange(change, before->bytes, &reason);
    if (id == 0) {
        *error = NoCopyMessage(reason);
        return false;
    }
    const bool moved = MoveToTrash(absolute, &reason, &trashed);
    if (QFileInfo(absolute).exists() || QFileInfo(absolute).isSymLink()) {
        store.cancelChange(id);
        *error = reason.isEmpty() ? QStringLiteral("The file is still there.") : reason;
        return false;
    }
    // Gone: recorded even when the move said otherwise, so the copy can bring it back.
    store.finishChange(id, moved ? trashed : QString());
    store.prune();
    if (trashedPath)
        *trashedPath = trashed;
    return true;
}

bool MoveFileKept(HistoryStore& store, const QString& from, const QString& to,
                  const ChangeInfo& info, QString* error)
{
    const QString source = QFileInfo(from).absoluteFilePath();
    const QString target = QFileInfo(to).absoluteFilePath();
    if (QFileInfo(target).exists() || QFileInfo(target).isSymLink()) {
        *error = QStringLiteral("%1 is already there.").arg(target);
        return false;
    }
    const auto move = [&](QString* reason) {
        const QString folder = QFileInfo(target).absolutePath();
        if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
            *reason = QStringLiteral("The folder %1 could not be made.").arg(folder);
            return false;
        }
        QFile file(source);
        // QFile::rename never replaces an existing file.
        if (file.rename(target))
            return true;
        *reason = file.errorString();
        return false;
    };
    QString reason;
    if (!openStore(store, &reason)) {
        *error = reason;
        return false;
    }
    if (!store.enabled())
        return move(error);
    const std::optional<Before> before = readBefore(source, &reason);
    if (!before || before->bytes.isEmpty() && !QFileInfo(source).exists()) {
        *error = before ? QStringLiteral("%1 is no longer there.").arg(source) : reason;
        return false;
    }
    HistoryChange change = rowFor(source, info, *before);
    change.kind = QStringLiteral("move");
    const qint64 id = store.beginChange(change, before->bytes, &reason, source, before->stamp);
    if (id == 0) {
        *error = NoCopyMessage(reason);
        return false;
    }
    if (!move(&reason)) {
        store.cancelChange(id);
        *error = reason;
        return false;
    }
    store.finishChange(id, target);
    store.prune();
    return true;
}

bool RecycleFileKept(HistoryStore& store, const QString& path, const ChangeInfo& info,
                     QString* error)
{
    return RecycleFile(path, error, [&](const QString& from, QString* reason, QString* trashed) {
        return TrashFileKept(store, from, info, trashed, reason);
    });
}
