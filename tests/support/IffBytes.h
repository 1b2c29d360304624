// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class clsIFF;

// Raw bytes of IFF files built field by field, so that tests can build damaged files too.

// The 64-byte header: signature text, 0x00, the credit cut or 0x00-padded to 25, map offset.
QByteArray IffHeader(const QByteArray& version = "2.5",
                     const QByteArray& credit = " KALMODERIVESTA & MAXIS 1", quint32 mapOffset = 0);

// One chunk: type, Size (76 + body unless overridden), ID, unknown bytes, 64-byte name, body.
QByteArray Chunk(const QByteArray& type, quint16 id, const QByteArray& body,
                 const QByteArray& name = QByteArray(),
                 const QByteArray& unknown = QByteArray(2, '\0'),
                 std::optional<quint32> sizeOverride = std::nullopt);

// A resource map chunk listing nothing (the loader ignores map contents).
QByteArray EmptyMapChunk();

// A lot file whose OBJT chunk (of the version given) lists the GUIDs, each with a short name.
QByteArray LotFile(const QList<quint32>& guids, quint32 version = 2);

// Every record of a document as a save would write it, in list order.
QByteArray Records(const clsIFF& doc);

// Writes the bytes to the path, replacing the file; fails the current test when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
// The whole file, or an empty array when it cannot be read.
QByteArray ReadFile(const QString& path);

// Runs call while no file may grow past maxBytes (writes beyond fail with EFBIG).
bool WithFileSizeLimit(quint64 maxBytes, const std::function<bool()>& call);
