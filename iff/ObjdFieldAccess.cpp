// SPDX-License-Identifier: GPL-3.0-or-later
#include "ObjdFieldAccess.h"

#include "IffError.h"
#include "clsIFF.h"
#include "clsResource.h"

namespace ObjdAccess
{

QByteArray ObjdKey(quint16 id)
{
    return QByteArrayLiteral("OBJD") + QByteArray::number(id);
}

QByteArray BmpKey(quint16 id)
{
    return QByteArrayLiteral("BMP_") + QByteArray::number(id);
}

const clsResource* FindObjd(const clsIFF& doc, quint16 id)
{
    return doc.FindExact("OBJD", id);
}

clsResource* FindObjd(clsIFF& doc, quint16 id)
{
    return doc.FindExact("OBJD", id);
}

const clsResource* FindCtss(const clsIFF& doc, quint16 id)
{
    return doc.FindExact("CTSS", id);
}

clsResource* FindCtss(clsIFF& doc, quint16 id)
{
    return doc.FindExact("CTSS", id);
}

const clsResource& RequireObjd(const clsIFF& doc, quint16 id)
{
    if (const clsResource* objd = FindObjd(doc, id))
        return *objd;
    throw IffError("The document holds no resource " + ObjdKey(id).toStdString());
}

quint16 ReadField(const QByteArray& body, int offset)
{
    quint16 value = 0;
    if (offset >= 0 && offset < body.size())
        value = quint8(body[offset]);
    if (offset >= 0 && offset + 1 < body.size())
        value |= quint16(quint8(body[offset + 1])) << 8;
    return value;
}

quint32 ReadField32(const QByteArray& body, int offset)
{
    return ReadField(body, offset) | quint32(ReadField(body, offset + 2)) << 16;
}

bool FieldFits(const QByteArray& body, int offset)
{
    return offset >= 0 && offset + 2 <= body.size();
}

bool WriteField(QByteArray& body, int offset, quint32 value)
{
    if (!FieldFits(body, offset))
        return false;
    body[offset] = char(value & 0xFF);
    body[offset + 1] = char((value >> 8) & 0xFF);
    return true;
}

} // namespace ObjdAccess
