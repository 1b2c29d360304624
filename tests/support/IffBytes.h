#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Raw bytes of IFF files for tests, built field by field so that a test can also build
// damaged files (wrong signature, chunk sizes that lie, names without a terminator).

// The 64-byte file header: signature text, 0x00, the credit (cut or padded with 0x00 to 25
// bytes), the map offset big-endian.
QByteArray IffHeader(const QByteArray& version = "2.5",
                     const QByteArray& credit = " KALMODERIVESTA & MAXIS 1", quint32 mapOffset = 0);

// One chunk: type as given, Size big-endian (76 + body length unless sizeOverride), ID
// big-endian, the two unknown bytes, the name padded or cut to 64 bytes, the body.
QByteArray Chunk(const QByteArray& type, quint16 id, const QByteArray& body,
                 const QByteArray& name = QByteArray(),
                 const QByteArray& unknown = QByteArray(2, '\0'),
                 std::optional<quint32> sizeOverride = std::nullopt);

// A resource map chunk listing nothing (the loader ignores map contents).
QByteArray EmptyMapChunk();

// Writes the bytes to the path, replacing the file; fails the current test when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
// The whole file, or an empty array when it cannot be read.
QByteArray ReadFile(const QString& path);

// Runs call while no file may grow past maxBytes (writes beyond fail with EFBIG).
bool WithFileSizeLimit(quint64 maxBytes, const std::function<bool()>& call);
