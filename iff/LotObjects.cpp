// SPDX-License-Identifier: GPL-3.0-or-later
#include "LotObjects.h"

#include "clsIFF.h"

#include <QSet>
#include <QtEndian>

namespace
{

constexpr int kHeaderWords = 12;
constexpr int kFieldsAfterGuid = 12; // five 16-bit fields and the object type

void AppendLe32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

bool Damaged(LotContents* out, const QString& why)
{
    out->types.clear();
    out->damage = why;
    return false;
}

} // namespace

QList<quint32> LotContents::guids() const
{
    QList<quint32> result;
    QSet<quint32> seen;
    for (const LotObjectType& type : types) {
        if (!seen.contains(type.guid)) {
            seen.insert(type.guid);
            result.append(type.guid);
        }
    }
    return result;
}

bool ReadObjtBody(const QByteArray& body, LotContents* out)
{
    const char* bytes = body.constData();
    const qsizetype end = body.size();
    if (end < kHeaderWords || QByteArray(bytes + 8, 4) != "tjbo")
        return Damaged(out, QStringLiteral("the OBJT chunk has no object list header"));
    const quint32 version = qFromLittleEndian<quint32>(bytes + 4);
    if (version != 2 && version != 3)
        return Damaged(out,
                       QStringLiteral("the OBJT chunk has version %1, not 2 or 3").arg(version));
    const qsizetype tail = version == 3 ? 4 : 0;
    qsizetype pos = kHeaderWords;
    while (pos < end) {
        const auto cut = [&] {
            return Damaged(out, QStringLiteral("the OBJT chunk is cut short at byte %1").arg(pos));
        };
        if (end - pos < 4)
            return cut();
        LotObjectType type;
        type.guid = qFromLittleEndian<quint32>(bytes + pos);
        if (type.guid == 0) {
            pos += 4;
            continue;
        }
        if (end - pos < 4 + kFieldsAfterGuid)
            return cut();
        type.objectType = qFromLittleEndian<quint16>(bytes + pos + 4 + 10);
        const qsizetype nameStart = pos + 4 + kFieldsAfterGuid;
        const qsizetype terminator = body.indexOf('\0', nameStart);
        if (terminator < 0)
            return cut();
        type.name = body.mid(nameStart, terminator - nameStart);
        qsizetype next = terminator + 1;
        next += (next - nameStart) % 2; // the name with its 0 takes an even count of bytes
        next += tail;
        if (next > end)
            return cut();
        out->types.append(type);
        pos = next;
    }
    return true;
}

LotContents ReadLotBytes(const QByteArray& fileBytes)
{
    LotContents contents;
    clsIFF doc;
    if (!doc.LoadData(fileBytes)) {
        contents.damage = QStringLiteral("it is not an IFF file");
        return contents;
    }
    if (!doc.damageString().isEmpty()) {
        contents.damage = doc.damageString();
        return contents;
    }
    for (int i = 1; i <= doc.ResourceCount(); ++i) {
        const clsResource& chunk = doc.Resource(i);
        if (chunk.Format == "OBJT" && !ReadObjtBody(chunk.Body(), &contents))
            break;
    }
    return contents;
}

QByteArray MakeObjtBody(quint32 version, const QList<LotObjectType>& types)
{
    QByteArray body;
    AppendLe32(body, 0);
    AppendLe32(body, version);
    body += "tjbo";
    for (const LotObjectType& type : types) {
        AppendLe32(body, type.guid);
        if (type.guid == 0)
            continue;
        body += QByteArray(10, '\0');
        char objectType[2];
        qToLittleEndian(type.objectType, objectType);
        body.append(objectType, 2);
        body += type.name + '\0';
        if (body.size() % 2)
            body += '\0';
        if (version == 3)
            body += QByteArray(4, '\0');
    }
    return body;
}
