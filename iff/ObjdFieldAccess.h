// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

class clsIFF;
class clsResource;

// Shared by the catalog accessors: resource keys and the 16-bit little-endian OBJD fields.
namespace ObjdAccess
{

QByteArray ObjdKey(quint16 id);
QByteArray BmpKey(quint16 id);

// The OBJD held under "OBJD<id>", or nullptr. Chunks are found by their exact type code, so
// that an edit never lands in an "objd" that shares the key.
const clsResource* FindObjd(const clsIFF& doc, quint16 id);
clsResource* FindObjd(clsIFF& doc, quint16 id);
// The same for the CTSS held under "CTSS<id>".
const clsResource* FindCtss(const clsIFF& doc, quint16 id);
clsResource* FindCtss(clsIFF& doc, quint16 id);
// As FindObjd, but throws IffError when the document does not hold it.
const clsResource& RequireObjd(const clsIFF& doc, quint16 id);

// The field at offset, low byte first. Bytes past the end of the body count as absent: a
// field cut in half reads as its low byte, one wholly beyond the body as 0.
quint16 ReadField(const QByteArray& body, int offset);
// The 32-bit little-endian value at offset (two fields, low word first), with the same rule
// for bytes past the end.
quint32 ReadField32(const QByteArray& body, int offset);
// True when the body holds both bytes of the field at offset.
bool FieldFits(const QByteArray& body, int offset);
// Stores the low 16 bits of value at offset; false (body untouched) when the field does not
// fit, since growing a body would shift whatever the game keeps after it.
bool WriteField(QByteArray& body, int offset, quint32 value);

} // namespace ObjdAccess
