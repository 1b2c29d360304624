// SPDX-License-Identifier: GPL-3.0-or-later
#include "FarArchive.h"

#include <QIODevice>
#include <QtEndian>
#include <optional>

namespace
{

constexpr qint64 kHeaderSize = 16;
// Real manifests hold a few thousand short names; more than this is no manifest.
constexpr qint64 kMaxManifestSize = 64 * 1024 * 1024;

struct Parsed {
    QList<FarArchive::Entry> entries;
    bool endsAtEnd = false; // the manifest's last byte is the archive's last
};

// The manifest read with names' lengths nameWidth bytes wide; nullopt when it does not fit.
std::optional<Parsed> ParseManifest(const QByteArray& manifest, int nameWidth)
{
    const qsizetype end = manifest.size();
    if (end < 4)
        return std::nullopt;
    const char* bytes = manifest.constData();
    const quint32 count = qFromLittleEndian<quint32>(bytes);
    const qsizetype entryHead = 12 + nameWidth;
    if (quint64(count) * quint64(entryHead) > quint64(end - 4))
        return std::nullopt;
    Parsed parsed;
    qsizetype pos = 4;
    for (quint32 i = 0; i < count; ++i) {
        if (end - pos < entryHead)
            return std::nullopt;
        FarArchive::Entry entry;
        entry.fullSize = qFromLittleEndian<quint32>(bytes + pos);
        entry.size = qFromLittleEndian<quint32>(bytes + pos + 4);
        entry.offset = qFromLittleEndian<quint32>(bytes + pos + 8);
        const quint32 nameLength = nameWidth == 4 ? qFromLittleEndian<quint32>(bytes + pos + 12)
                                                  : qFromLittleEndian<quint16>(bytes + pos + 12);
        pos += entryHead;
        if (quint64(nameLength) > quint64(end - pos))
            return std::nullopt;
        entry.name = QByteArray(bytes + pos, nameLength);
        pos += nameLength;
        parsed.entries.append(entry);
    }
    parsed.endsAtEnd = pos == end;
    return parsed;
}

} // namespace

bool FarArchive::fail(const QString& reason)
{
    m_entries.clear();
    m_variant = Variant::Unknown;
    m_error = reason;
    return false;
}

bool FarArchive::read(QIODevice& device)
{
    m_error.clear();
    const qint64 size = device.size();
    if (!device.seek(0))
        return fail(QStringLiteral("the archive cannot be read"));
    const QByteArray header = device.read(kHeaderSize);
    if (header.size() < kHeaderSize || !header.startsWith("FAR!byAZ"))
        return fail(QStringLiteral("not a FAR archive"));
    const quint32 version = qFromLittleEndian<quint32>(header.constData() + 8);
    if (version != 1)
        return fail(QStringLiteral("FAR version %1 is not read").arg(version));
    const quint32 manifestOffset = qFromLittleEndian<quint32>(header.constData() + 12);
    if (manifestOffset < kHeaderSize || qint64(manifestOffset) + 4 > size)
        return fail(QStringLiteral("the manifest lies outside the archive"));
    if (size - manifestOffset > kMaxManifestSize)
        return fail(QStringLiteral("the manifest is too large"));
    if (!device.seek(manifestOffset))
        return fail(QStringLiteral("the archive cannot be read"));
    const QByteArray manifest = device.read(size - manifestOffset);
    if (manifest.size() != size - manifestOffset)
        return fail(QStringLiteral("the archive cannot be read"));

    // The wrong variant almost never parses to the archive's last byte: a 16-bit length read
    // as 32 bits takes in the name's first bytes, one read short leaves two bytes behind.
    const std::optional<Parsed> wide = ParseManifest(manifest, 4);
    const std::optional<Parsed> narrow = ParseManifest(manifest, 2);
    const std::optional<Parsed>* chosen = nullptr;
    if (wide && wide->endsAtEnd)
        chosen = &wide;
    else if (narrow && narrow->endsAtEnd)
        chosen = &narrow;
    else if (wide)
        chosen = &wide;
    else if (narrow)
        chosen = &narrow;
    if (!chosen)
        return fail(QStringLiteral("the manifest does not fit the archive"));
    m_variant = chosen == &wide ? Variant::NameLength32 : Variant::NameLength16;
    m_entries = (*chosen)->entries;
    for (Entry& entry : m_entries) {
        if (quint64(entry.offset) + entry.size > quint64(size))
            entry.problem = QStringLiteral("its bytes run past the end of the archive");
        else if (entry.size != entry.fullSize)
            entry.problem = QStringLiteral("it is packed, which the game's archives never are");
    }
    return true;
}

bool FarArchive::readEntry(QIODevice& device, const Entry& entry, QByteArray* bytes)
{
    if (!entry.problem.isEmpty()) {
        m_error = entry.problem;
        return false;
    }
    if (!device.seek(entry.offset)) {
        m_error = QStringLiteral("the archive cannot be read");
        return false;
    }
    *bytes = device.read(entry.size);
    if (bytes->size() != qsizetype(entry.size)) {
        m_error = QStringLiteral("the archive cannot be read");
        return false;
    }
    return true;
}

QByteArray FarArchive::Build(const QList<QPair<QByteArray, QByteArray>>& entries, Variant variant)
{
    const auto le32 = [](QByteArray& out, quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        out.append(bytes, 4);
    };
    QByteArray archive("FAR!byAZ");
    le32(archive, 1);
    le32(archive, 0); // manifest offset, set below
    QByteArray manifest;
    le32(manifest, quint32(entries.size()));
    for (const auto& [name, bytes] : entries) {
        le32(manifest, quint32(bytes.size()));
        le32(manifest, quint32(bytes.size()));
        le32(manifest, quint32(archive.size()));
        if (variant == Variant::NameLength16) {
            char length[2];
            qToLittleEndian(quint16(name.size()), length);
            manifest.append(length, 2);
        } else {
            le32(manifest, quint32(name.size()));
        }
        manifest += name;
        archive += bytes;
    }
    qToLittleEndian(quint32(archive.size()), archive.data() + 12);
    return archive + manifest;
}
