// SPDX-License-Identifier: GPL-3.0-or-later
#include "IffBytes.h"
#include "LotObjects.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

QByteArray Le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Lot(const QByteArray& objt)
{
    return IffHeader() + Chunk("SIMI", 1, "x") + Chunk("OBJT", 0, objt) + EmptyMapChunk();
}

// Entry bytes written by hand, so that the builder is checked as well as the reader.
QByteArray Entry(quint32 guid, quint16 type, const QByteArray& padded, int tail)
{
    QByteArray type16(2, '\0');
    qToLittleEndian(type, type16.data());
    return Le32(guid) + QByteArray(10, '\x7f') + type16 + padded + QByteArray(tail, '\x55');
}

} // namespace

TEST(LotObjects, VersionsNamesZeroGuidsAndDamage)
{
    const QByteArray v2 = Le32(0) + Le32(2) + "tjbo", v3 = Le32(0) + Le32(3) + "tjbo";
    // Names of odd and even length (the 0 makes them even or odd), Windows-1252 letters, a
    // zero-GUID entry of four bytes between them, the same GUID twice.
    const QByteArray v2Body = v2 + Entry(0xA1B2C3D4, 4, QByteArray("Sof\xe9\0", 5) + '\0', 0) +
                              Le32(0) + Entry(0x11, 2, QByteArray("ab\0\0", 4), 0) +
                              Entry(0xA1B2C3D4, 4, QByteArray("c\0", 2), 0);
    const QByteArray v3Body = v3 + Entry(0x22, 8, QByteArray("odd\0", 4), 4) + Le32(0) +
                              Entry(0x33, 1, QByteArray("even\0\0", 6), 4);
    const QList<quint32> none;
    const QString cut = "the OBJT chunk is cut short at byte ";
    const std::tuple<QByteArray, QList<quint32>, QString> cases[] = {
        {Lot(v2Body), {0xA1B2C3D4, 0x11}, ""},
        {Lot(v3Body), {0x22, 0x33}, ""},
        {Lot(v2), none, ""},
        {IffHeader() + EmptyMapChunk(), none, ""},
        {Lot(v2 + Le32(0)), none, ""},
        // The tail of the last version-3 entry, its name's terminator, its fields, its GUID.
        {Lot(v3Body.chopped(1)), none, cut + "40"},
        {Lot(v2Body.chopped(2)), none, cut + "58"},
        {Lot(v2Body.left(v2Body.size() - 8)), none, cut + "58"},
        {Lot(v2 + Le32(7).left(3)), none, cut + "12"},
        {Lot(v2 + Entry(9, 4, QByteArray("Sof\xe9\0", 5), 0)), none, cut + "12"},
        {Lot(Le32(0) + Le32(4) + "tjbo"), none, "the OBJT chunk has version 4, not 2 or 3"},
        {Lot(Le32(0) + Le32(2) + "objt"), none, "the OBJT chunk has no object list header"},
        {Lot(v2.left(11)), none, "the OBJT chunk has no object list header"},
        {IffHeader() + Chunk("OBJT", 0, v2Body, {}, QByteArray(2, '\0'), 9999), none,
         "the chunk at byte 64 runs past the end of the file"},
        {QByteArray("not a lot"), none, "it is not an IFF file"},
    };
    for (const auto& [bytes, guids, damage] : cases) {
        const LotContents lot = ReadLotBytes(bytes);
        EXPECT_EQ(lot.guids(), guids) << damage.toStdString();
        EXPECT_EQ(lot.damage, damage);
    }
    const LotContents read = ReadLotBytes(Lot(v2Body));
    ASSERT_EQ(read.types.size(), 3);
    EXPECT_EQ(read.types[0].name, "Sof\xe9");
    EXPECT_EQ(read.types[1].objectType, 2);
    // The builder lays entries out exactly as written by hand above.
    EXPECT_EQ(MakeObjtBody(3, {{0x22, 8, "odd"}, {0, 0, {}}, {0x33, 1, "even"}}),
              QByteArray(v3Body)
                  .replace(QByteArray(10, '\x7f'), QByteArray(10, '\0'))
                  .replace(QByteArray(4, '\x55'), QByteArray(4, '\0')));
}
