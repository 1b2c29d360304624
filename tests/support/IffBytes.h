#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Raw bytes of IFF files for tests, built field by field so that a test can also build
// damaged files (wrong signature, chunk sizes that lie, names without a terminator).
//
//   QByteArray file = IffHeader() + Chunk("OBJD", 128, body, "Lamp") + Chunk("XXXX", 0, {});
//   WriteFile(dir.filePath("lamp.iff"), file);

// The 64-byte file header: "IFF FILE <version>:TYPE FOLLOWED BY SIZE", 0x00, then the credit
// (bytes 35-59), then the map offset big-endian. The credit is cut or padded with 0x00 to 25
// bytes, so the header is always 64 bytes.
QByteArray IffHeader(const QByteArray& version = "2.5",
                     const QByteArray& credit = " KALMODERIVESTA & MAXIS 1", quint32 mapOffset = 0);

// One chunk: type (written as given, normally 4 bytes), Size big-endian (76 + body length
// unless sizeOverride is given), ID big-endian, the two unknown bytes, the name padded with
// 0x00 to 64 bytes (cut at 64; pass a 64-byte name for one without a terminator), the body.
QByteArray Chunk(const QByteArray& type, quint16 id, const QByteArray& body,
                 const QByteArray& name = QByteArray(),
                 const QByteArray& unknown = QByteArray(2, '\0'),
                 std::optional<quint32> sizeOverride = std::nullopt);

// A resource map chunk as the program writes it, listing nothing: useful as an "old map"
// placed anywhere in a test file (the loader ignores map contents).
QByteArray EmptyMapChunk();

// Writes the bytes to the path, replacing the file; fails the current test when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
// The whole file, or an empty array when it cannot be read.
QByteArray ReadFile(const QString& path);
