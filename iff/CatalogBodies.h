// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <QByteArray>
#include <QList>
#include <QRgb>

// Builders for the resource bodies of the object catalog, laid out as the game writes them.
// Used to make new files (the demo installation) and by the tests' fixtures.

struct ObjdSpec {
    quint16 groupId = 0;
    quint16 tileIndex = 0; // 0xFFFF marks the lead tile of a multi-tile object
    quint16 disabled = 0;
    quint16 price = 0;
    quint16 catalogStringsId = 0;
    quint32 guid = 0;
    SortSet sorts{};    // low 16 bits of each slot are stored
    int bodySize = 216; // classic game OBJD size
};
QByteArray MakeObjdBody(const ObjdSpec& spec);

struct CtssString {
    quint8 language = 1;
    QByteArray text;
    QByteArray comment;
};
// Format code 0xFFFD, the string count, the strings, then one 0xA3 pad byte per string.
QByteArray MakeCtssBody(const QList<CtssString>& strings);
// Name and description as strings 0 and 1.
QByteArray MakeCatalogCtss(const QByteArray& name, const QByteArray& description);

// A complete 24-bit .bmp file of the given size filled with one colour (74x37 for icons).
QByteArray MakeBmp(int width, int height, QRgb colour);
