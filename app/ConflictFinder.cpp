// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConflictFinder.h"

#include <QCryptographicHash>
#include <QHash>

QList<CatalogConflict> FindConflicts(const QList<CatalogFile>& files,
                                     const CatalogBytesReader& readBytes)
{
    QHash<quint32, QList<ConflictMember>> byGuid;
    QList<quint32> firstSeen;
    for (int f = 0; f < files.size(); ++f) {
        for (const CatalogGuid& objd : files[f].guids) {
            auto it = byGuid.find(objd.guid);
            if (it == byGuid.end()) {
                it = byGuid.insert(objd.guid, {});
                firstSeen.append(objd.guid);
            }
            it->append(ConflictMember{f, objd.id, objd.resourceName, false});
        }
    }

    // Content hashes are taken only for files that may be copies of one another, and once.
    QHash<int, QByteArray> hashes;
    const auto hashOf = [&](int f) {
        const auto it = hashes.constFind(f);
        if (it != hashes.constEnd())
            return *it;
        QByteArray bytes;
        QByteArray hash;
        if (readBytes && readBytes(files[f], &bytes) && bytes.size() == files[f].size)
            hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        hashes.insert(f, hash);
        return hash;
    };

    QList<CatalogConflict> conflicts;
    for (const quint32 guid : std::as_const(firstSeen)) {
        QList<ConflictMember>& members = byGuid[guid];
        if (members.size() < 2)
            continue;
        for (ConflictMember& a : members) {
            for (const ConflictMember& b : std::as_const(members)) {
                if (a.file == b.file || files[a.file].size != files[b.file].size)
                    continue;
                const QByteArray hash = hashOf(a.file);
                if (!hash.isEmpty() && hash == hashOf(b.file)) {
                    a.identicalCopy = true;
                    break;
                }
            }
        }
        conflicts.append(CatalogConflict{guid, members});
    }
    return conflicts;
}
