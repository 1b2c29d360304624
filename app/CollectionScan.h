// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogTypes.h"
#include "ConflictFinder.h"
#include "FileGatherer.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSet>
#include <atomic>
#include <functional>

// What a scan remembers of each file it read, so that the next scan reads only the files
// whose size or modification time changed. Keep one per collection and pass it to every scan.
class ScanCache
{
public:
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    struct Item {
        Stamp stamp;
        QList<CatalogFile> files; // one for a loose file, the entries for an archive
    };

    void clear() { m_items.clear(); }
    // Used by the scan; a found item is valid only while stamp equals the file's.
    const Item* find(const QString& path, const Stamp& stamp) const;
    void store(const QString& path, Item item) { m_items.insert(path, std::move(item)); }
    // Forgets the paths not in keep.
    void retain(const QSet<QString>& keep);

private:
    QHash<QString, Item> m_items;
};

// Progress of a running scan: done of total files and archives. Called from worker threads;
// it must be thread-safe and quick.
using ScanProgress = std::function<void(int done, int total)>;

// Scans the object files (the file list, in order) and the game's archives (FindGameArchives)
// using every core, one document per thread, and returns the catalog with its conflicts and
// problem files. Blocks the caller, so a window runs it through CollectionScanner. With a
// cache, unchanged files are taken from it and it is updated; when *cancel turns true the
// scan stops soon and returns what it has with cancelled set (the cache keeps what was read).
// Never asks or tells the user anything.
CollectionCatalog ScanCollection(const QList<ObjectFile>& files, const QStringList& archives,
                                 ScanCache* cache = nullptr, const ScanProgress& progress = {},
                                 const std::atomic<bool>* cancel = nullptr);

// Reads one loose object file as the scan does (for tests and tools).
CatalogFile ScanObjectFile(const QString& path);
// Catalogs an object file's bytes; path and entry only name it in the result.
CatalogFile CatalogObjectFileBytes(const QByteArray& bytes, const QString& path,
                                   const QByteArray& entry, bool inArchive);

// The bytes of a scanned object file (a loose file, or its entry of an archive), read anew.
bool ReadCatalogFileBytes(const CatalogFile& file, QByteArray* bytes);
// The catalog icons of objects of a scanned file, in the order of objdIds, from one reading of
// the file or archive; placeholder for an object without one, or for all when the file can no
// longer be read. Any thread.
QList<QImage> LoadCatalogIcons(const CatalogFile& file, const QList<quint16>& objdIds,
                               const QImage& placeholder,
                               const CatalogBytesReader& readBytes = ReadCatalogFileBytes);
