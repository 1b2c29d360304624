// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The object types a lot file (UserData*/Houses/House*.iff) has placed, from its OBJT chunk:
// after three 32-bit little-endian words (0, version 2 or 3, "tjbo") come entries until the
// body ends. An entry is a GUID; unless it is 0, five 16-bit fields, a 16-bit object type, a
// 0-terminated name padded to an even length and, in version 3, four more bytes.
struct LotObjectType {
    quint32 guid = 0;
    quint16 objectType = 0;
    QByteArray name; // as stored, without the terminator
};

struct LotContents {
    QList<LotObjectType> types; // every entry with a GUID, in chunk order
    // Why the file cannot be trusted (not an IFF file, a chunk that lies, an OBJT cut short or
    // of an unknown version); empty when it was read whole. A damaged lot lists nothing.
    QString damage;
    // The distinct GUIDs of types, in the order first met.
    QList<quint32> guids() const;
};

// Reads one OBJT body into *out; false with out->damage set when it is not whole.
bool ReadObjtBody(const QByteArray& body, LotContents* out);
// Reads a whole lot file's bytes: every OBJT chunk it holds. A file without one uses nothing.
LotContents ReadLotBytes(const QByteArray& fileBytes);

// An OBJT body as the game lays it out, for the demo and the tests.
QByteArray MakeObjtBody(quint32 version, const QList<LotObjectType>& types);
