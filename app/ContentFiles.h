// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Identifies a file's bytes as they were read: the same inode, size and modification time
// later means the same bytes (Kestrane replaces files, it never writes into them).
struct FileStamp {
    quint64 device = 0, inode = 0, links = 0;
    qint64 size = -1, mtimeNs = 0;
    bool valid() const { return size >= 0; }
    bool sameBytes(const FileStamp& other) const
    {
        return valid() && device == other.device && inode == other.inode && size == other.size &&
               mtimeNs == other.mtimeNs;
    }
};
// The stamp of an open file (its descriptor), or of a path; invalid when it cannot be read.
FileStamp StampOf(int fd);
FileStamp StampOfPath(const QString& path);

// The history's kept file contents: one file per distinct content, named by its SHA-256 in
// hex, zlib-compressed (name ending ".z") where that saves enough. Every file is synced, and
// its folder entry too, before put() returns.
class ContentFiles
{
public:
    explicit ContentFiles(const QString& folder); // ends in "/"

    QString folder() const { return m_folder; }
    bool ensureFolder(QString* error) const;
    // The name the content has on disk, empty when it is not kept.
    QString fileOf(const QByteArray& hexHash) const;
    bool has(const QByteArray& hexHash) const { return !fileOf(hexHash).isEmpty(); }
    // Keeps bytes (whose SHA-256 hex is hexHash) unless kept already; *storedSize is what
    // they take on disk.
    bool put(const QByteArray& hexHash, const QByteArray& bytes, qint64* storedSize,
             QString* error) const;
    // Keeps the content by a hard link to source, which is about to be replaced and whose
    // bytes (as stamped when they were hashed) it is: no byte is copied. False, leaving
    // nothing behind, when the link cannot be made there (another file system, a file with
    // other links, bytes changed since) or the content is kept already.
    bool link(const QByteArray& hexHash, const QString& source, const FileStamp& stamp) const;
    // The bytes kept under hexHash, checked against it; nullopt (with the reason) when they
    // are missing or damaged.
    std::optional<QByteArray> get(const QByteArray& hexHash, QString* error) const;
    // Size on disk; 0 when not kept.
    qint64 storedSize(const QByteArray& hexHash) const;
    void remove(const QByteArray& hexHash) const;
    // bytes zlib-compressed when that saves a tenth or more (*compressed says which), else as
    // they are; the same rule the files follow.
    static QByteArray pack(const QByteArray& bytes, bool* compressed);

private:
    QString m_folder;
};

// Makes a new entry of the folder durable (the entry, not the file's bytes).
bool SyncFolder(const QString& folder);

// The SHA-256 hex of a file's bytes; nullopt when there is no file or it cannot be read.
std::optional<QByteArray> HashOfFile(const QString& path);
