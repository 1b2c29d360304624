// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class QIODevice;

// A FAR archive of the game (version 1), read only: a 16-byte header ("FAR!byAZ", version,
// manifest offset, little-endian), the entries' bytes, then the manifest. The manifest comes in
// two variants that differ only in the width of each name's length (32 or 16 bits); the one
// whose manifest fits the archive is taken.
class FarArchive
{
public:
    struct Entry {
        QByteArray name;      // as stored, no character-set conversion
        quint32 offset = 0;   // from the start of the archive
        quint32 size = 0;     // stored bytes
        quint32 fullSize = 0; // bytes once unpacked; differs from size only when packed
        // Empty when the entry can be read; otherwise why not (its bytes lie past the end of
        // the archive, or it is packed, which the game's own archives never are).
        QString problem;
    };
    enum class Variant { Unknown, NameLength32, NameLength16 };

    // Reads the header and the manifest from device (a file or a buffer, open for reading).
    // False when device holds no readable FAR archive; errorString() says why. A manifest
    // that fits but names entries that cannot be read still succeeds: see Entry::problem.
    bool read(QIODevice& device);
    // An archive holding the entries (name, bytes) in order, unpacked, with the manifest in
    // the given variant (NameLength32 for Unknown).
    static QByteArray Build(const QList<QPair<QByteArray, QByteArray>>& entries,
                            Variant variant = Variant::NameLength32);
    // The stored bytes of an entry without a problem, read from the same device; false with
    // errorString() on a read error.
    bool readEntry(QIODevice& device, const Entry& entry, QByteArray* bytes);

    const QList<Entry>& entries() const { return m_entries; }
    Variant variant() const { return m_variant; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& reason);

    QList<Entry> m_entries;
    Variant m_variant = Variant::Unknown;
    QString m_error;
};
