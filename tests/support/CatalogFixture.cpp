#include "CatalogFixture.h"

#include "ProgramState.h"
#include "clsIFF.h"
#include "modConvert.h"

#include <QFile>
#include <QTemporaryDir>

namespace
{

void appendBigEndian(QByteArray& out, quint32 value, int bytes)
{
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

} // namespace

CatalogFixture& CatalogFixture::chunk(const QByteArray& format, quint16 id, const QByteArray& name,
                                      const QByteArray& body)
{
    m_chunks.append(Chunk{format, id, name, body});
    return *this;
}

CatalogFixture& CatalogFixture::objd(quint16 id, const QByteArray& name, const ObjdSpec& spec)
{
    return chunk("OBJD", id, name, MakeObjdBody(spec));
}

CatalogFixture& CatalogFixture::ctss(quint16 id, const QByteArray& body)
{
    return chunk("CTSS", id, "", body);
}

CatalogFixture& CatalogFixture::bmp(quint16 id, const QByteArray& name)
{
    return bmp(id, name, MakeBmp(74, 37, qRgb(200, 120, 40)));
}

CatalogFixture& CatalogFixture::bmp(quint16 id, const QByteArray& name, const QByteArray& body)
{
    return chunk("BMP_", id, name, body);
}

QByteArray CatalogFixture::chunkBytes(const Chunk& c)
{
    QByteArray out = c.format.left(4);
    appendBigEndian(out, quint32(76 + c.body.size()), 4);
    appendBigEndian(out, c.id, 2);
    out.append(QByteArray(2, '\0'));
    out.append((c.name + QByteArray(64, '\0')).left(64));
    out.append(c.body);
    return out;
}

QByteArray CatalogFixture::fileBytes() const
{
    QByteArray out = MakeIffSignature("2.5");
    appendBigEndian(out, 0, 4);
    for (const Chunk& c : m_chunks)
        out.append(chunkBytes(c));
    return out;
}

bool CatalogFixture::loadInto(clsIFF& doc) const
{
    InitConvert();
    QTemporaryDir dir;
    if (!dir.isValid())
        return false;
    const QString path = dir.filePath("fixture.iff");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(fileBytes()) < 0)
        return false;
    file.close();
    doc.Clear();
    return doc.LoadFile(path);
}

ObjdSpec CatalogObject(quint16 stringsId, quint16 price)
{
    ObjdSpec spec;
    spec.tileIndex = 0;
    spec.price = price;
    spec.catalogStringsId = stringsId;
    return spec;
}
