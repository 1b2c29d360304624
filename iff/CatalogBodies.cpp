// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogBodies.h"

#include "ObjdLayout.h"

namespace
{

// Writes the low 16 bits of value, low byte first, at offset; bytes past the end of body are
// left out so that short bodies can be built on purpose.
void putWord(QByteArray& body, int offset, quint32 value)
{
    if (offset >= 0 && offset < body.size())
        body[offset] = char(value & 0xFF);
    if (offset + 1 >= 0 && offset + 1 < body.size())
        body[offset + 1] = char((value >> 8) & 0xFF);
}

void appendWord(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void appendDword(QByteArray& out, quint32 value)
{
    appendWord(out, value & 0xFFFF);
    appendWord(out, value >> 16);
}

} // namespace

QByteArray MakeObjdBody(const ObjdSpec& spec)
{
    QByteArray body(qMax(0, spec.bodySize), '\0');
    // The game's OBJD opens with its 32-bit version; 138 is the common one.
    putWord(body, 0, 138);
    putWord(body, ObjdField::GroupID, spec.groupId);
    putWord(body, ObjdField::TileIndex, spec.tileIndex);
    putWord(body, ObjdField::Disabled, spec.disabled);
    putWord(body, ObjdField::Price, spec.price);
    putWord(body, ObjdField::CatalogStringsID, spec.catalogStringsId);
    putWord(body, ObjdField::Guid, spec.guid & 0xFFFF);
    putWord(body, ObjdField::Guid + 2, spec.guid >> 16);
    for (int slot = 0; slot < 9; ++slot)
        putWord(body, kSortSlotOffsets[slot], quint32(spec.sorts[slot]));
    return body;
}

QByteArray MakeCtssBody(const QList<CtssString>& strings)
{
    QByteArray out;
    appendWord(out, 0xFFFD);
    appendWord(out, quint32(strings.size()));
    for (const CtssString& s : strings) {
        out.append(char(s.language));
        out.append(s.text);
        out.append('\0');
        out.append(s.comment);
        out.append('\0');
    }
    out.append(QByteArray(strings.size(), char(0xA3)));
    return out;
}

QByteArray MakeCatalogCtss(const QByteArray& name, const QByteArray& description)
{
    return MakeCtssBody({CtssString{1, name, {}}, CtssString{1, description, {}}});
}

QByteArray MakeBmp(int width, int height, QRgb colour)
{
    width = qMax(0, width);
    height = qMax(0, height);
    const int rowBytes = (width * 3 + 3) & ~3;
    const quint32 pixelBytes = quint32(rowBytes) * quint32(height);
    const quint32 pixelOffset = 14 + 40;

    QByteArray out;
    out.reserve(int(pixelOffset + pixelBytes));
    // BITMAPFILEHEADER
    out.append("BM", 2);
    appendDword(out, pixelOffset + pixelBytes);
    appendDword(out, 0); // two reserved words
    appendDword(out, pixelOffset);
    // BITMAPINFOHEADER; a positive height means rows run bottom-up
    appendDword(out, 40);
    appendDword(out, quint32(width));
    appendDword(out, quint32(height));
    appendWord(out, 1);  // planes
    appendWord(out, 24); // bits per pixel
    appendDword(out, 0); // BI_RGB
    appendDword(out, pixelBytes);
    appendDword(out, 2835); // 72 dpi
    appendDword(out, 2835);
    appendDword(out, 0); // colours used
    appendDword(out, 0); // colours important

    QByteArray row;
    row.reserve(rowBytes);
    for (int x = 0; x < width; ++x) {
        row.append(char(qBlue(colour)));
        row.append(char(qGreen(colour)));
        row.append(char(qRed(colour)));
    }
    row.append(QByteArray(rowBytes - width * 3, '\0'));
    for (int y = 0; y < height; ++y)
        out.append(row);
    return out;
}
