// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryRestore.h"

#include "HistoryStore.h"
#include "KeptSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

RestoreItem planFor(const HistoryStore& store, const HistoryChange& change)
{
    RestoreItem item;
    item.changeId = change.id;
    item.file = change.file;
    item.targetHash = change.beforeHash;
    item.targetSize = change.beforeSize;
    const QFileInfo info(change.file);
    item.fileExists = info.exists() || info.isSymLink();
    item.folderMissing = !QFileInfo(info.absolutePath()).isDir();
    const QByteArray now = HashOfFile(change.file).value_or(QByteArray());
    const std::optional<HistoryChange> latest = store.latestChange(change.file);
    const QByteArray leftByKestrane = latest ? latest->afterHash : QByteArray();
    item.changedElsewhere = item.fileExists ? now != leftByKestrane : !leftByKestrane.isEmpty();
    // A deleted file still in the trash, holding the bytes it held, comes back from there.
    // So does a moved file from where it went.
    item.moved = change.kind == QLatin1String("move");
    if ((change.kind == QLatin1String("delete") || item.moved) && !change.trashPath.isEmpty() &&
        HashOfFile(change.trashPath) == change.beforeHash)
        item.trashPath = change.trashPath;
    item.copyAvailable =
        item.targetHash.isEmpty() || !item.trashPath.isEmpty() || store.hasContent(item.targetHash);
    return item;
}

QString describe(const HistoryStore& store, const RestoreItem& item)
{
    const std::optional<HistoryChange> change = store.change(item.changeId);
    QString text = QStringLiteral("Restored as before change %1").arg(item.changeId);
    if (change && !change->summary.isEmpty())
        text += QStringLiteral(" (%1)").arg(change->summary);
    return text;
}

bool restoreOne(HistoryStore& store, const RestoreItem& item, ChangeInfo info, QString* error)
{
    const QByteArray now = HashOfFile(item.file).value_or(QByteArray());
    const bool exists = QFileInfo(item.file).exists();
    if (exists ? now == item.targetHash && !item.targetHash.isEmpty() : item.targetHash.isEmpty())
        return true; // already as it was
    if (item.moved && exists) {
        *error =
            QStringLiteral("%1 could not be moved back: another file is there now.").arg(item.file);
        return false;
    }
    if (info.summary.isEmpty())
        info.summary = describe(store, item);
    info.kind = QStringLiteral("restore");
    if (item.targetHash.isEmpty())
        return TrashFileKept(store, item.file, info, nullptr, error);

    QByteArray bytes;
    bool fromTrash = false;
    if (!item.trashPath.isEmpty()) {
        QFile trashed(item.trashPath);
        if (trashed.open(QIODevice::ReadOnly)) {
            bytes = trashed.readAll();
            fromTrash = HashOfFile(item.trashPath) == item.targetHash;
        }
    }
    if (!fromTrash) {
        QString reason;
        const std::optional<QByteArray> kept = store.content(item.targetHash, &reason);
        if (!kept) {
            *error = QStringLiteral("%1 could not be restored: %2").arg(item.file, reason);
            return false;
        }
        bytes = *kept;
    }
    if (!WriteFileKept(store, item.file, bytes, info, error))
        return false;
    if (fromTrash) {
        // It is back: the trash no longer holds it.
        QFile::remove(item.trashPath);
        if (!item.moved)
            QFile::remove(TrashInfoOf(item.trashPath));
    }
    return true;
}

} // namespace

QString TrashInfoOf(const QString& trashedPath)
{
    const QFileInfo info(trashedPath);
    return QDir(info.absolutePath() + QStringLiteral("/../info")).absolutePath() + '/' +
           info.fileName() + QStringLiteral(".trashinfo");
}

std::optional<RestoreItem> PlanRestore(const HistoryStore& store, qint64 changeId)
{
    const std::optional<HistoryChange> change = store.change(changeId);
    if (!change)
        return std::nullopt;
    return planFor(store, *change);
}

QList<RestoreItem> PlanBatchRestore(const HistoryStore& store, const QString& batchId)
{
    QList<RestoreItem> plan;
    QStringList seen;
    for (const HistoryChange& change : store.batch(batchId)) { // oldest first
        if (seen.contains(change.file))
            continue;
        seen << change.file;
        plan.append(planFor(store, change));
    }
    return plan;
}

std::optional<RestoreItem> PlanUndoLatest(const HistoryStore& store, const QString& file)
{
    const std::optional<HistoryChange> change =
        store.latestChange(QFileInfo(file).absoluteFilePath());
    if (!change)
        return std::nullopt;
    return planFor(store, *change);
}

std::optional<RestoreItem> PlanOriginal(const HistoryStore& store, const QString& file)
{
    const std::optional<HistoryChange> change =
        store.firstChange(QFileInfo(file).absoluteFilePath());
    if (!change)
        return std::nullopt;
    return planFor(store, *change);
}

bool RestoreFiles(HistoryStore& store, const QList<RestoreItem>& plan, const ChangeInfo& info,
                  QList<RestoreOutcome>* outcomes)
{
    ChangeInfo batchInfo = info;
    if (batchInfo.batch.isEmpty())
        batchInfo.batch = NewBatchId();
    bool all = true;
    for (const RestoreItem& item : plan) {
        RestoreOutcome outcome;
        outcome.file = item.file;
        outcome.restored = restoreOne(store, item, batchInfo, &outcome.error);
        all = all && outcome.restored;
        if (outcomes)
            outcomes->append(outcome);
    }
    return all;
}
