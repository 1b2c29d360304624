// SPDX-License-Identifier: GPL-3.0-or-later
#include "DuplicateMend.h"

#include "KeptSave.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QSet>

QList<QStringList> IdenticalCopySets(const CollectionCatalog& catalog,
                                     const CatalogBytesReader& readBytes)
{
    QList<QStringList> sets;
    QSet<QStringList> seen;
    QHash<int, QByteArray> hashes; // file index -> hash of its bytes
    for (const CatalogConflict& conflict : catalog.conflicts) {
        QHash<QByteArray, QStringList> byHash;
        QList<QByteArray> order;
        for (const ConflictMember& member : conflict.members) {
            const CatalogFile& file = catalog.files[member.file];
            if (!member.identicalCopy || file.inArchive)
                continue;
            if (!hashes.contains(member.file)) {
                QByteArray bytes;
                hashes.insert(member.file,
                              readBytes(file, &bytes)
                                  ? QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)
                                  : QByteArray());
            }
            const QByteArray& hash = hashes[member.file];
            if (hash.isEmpty())
                continue;
            if (!byHash.contains(hash))
                order.append(hash);
            if (!byHash[hash].contains(file.path))
                byHash[hash].append(file.path);
        }
        for (const QByteArray& hash : order) {
            QStringList paths = byHash[hash];
            paths.sort();
            if (paths.size() > 1 && !seen.contains(paths)) {
                seen.insert(paths);
                sets.append(paths);
            }
        }
    }
    return sets;
}

int DefaultCopyToKeep(const QStringList& paths)
{
    int best = -1;
    qsizetype bestDepth = 0;
    for (int i = 0; i < paths.size(); ++i) {
        const QString clean = QDir::cleanPath(paths[i]);
        const qsizetype depth = clean.count(QLatin1Char('/'));
        if (best < 0 || depth < bestDepth ||
            (depth == bestDepth &&
             clean.compare(QDir::cleanPath(paths[best]), Qt::CaseInsensitive) < 0)) {
            best = i;
            bestDepth = depth;
        }
    }
    return best;
}

bool KeepOneCopy(HistoryStore& store, const QStringList& paths, int keep, const ChangeInfo& info,
                 QStringList* trashed, QString* error)
{
    ChangeInfo change = info;
    if (change.batch.isEmpty())
        change.batch = NewBatchId();
    for (int i = 0; i < paths.size(); ++i) {
        if (i == keep)
            continue;
        if (!TrashFileKept(store, paths[i], change, nullptr, error))
            return false;
        trashed->append(paths[i]);
    }
    return true;
}
