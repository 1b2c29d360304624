#include "CatalogFixture.h"

#include "IffBytes.h"
#include "ProgramState.h"
#include "clsIFF.h"
#include "modConvert.h"

#include <QTemporaryDir>

CatalogFixture& CatalogFixture::chunk(const QByteArray& format, quint16 id, const QByteArray& name,
                                      const QByteArray& body)
{
    m_chunks += ::Chunk(format.left(4), id, body, name);
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

QByteArray CatalogFixture::fileBytes() const
{
    return MakeIffSignature("2.5") + QByteArray(4, '\0') + m_chunks;
}

bool CatalogFixture::loadInto(clsIFF& doc) const
{
    InitConvert();
    QTemporaryDir dir;
    const QString path = dir.filePath("fixture.iff");
    WriteFile(path, fileBytes());
    doc.Clear();
    return dir.isValid() && doc.LoadFile(path);
}

ObjdSpec CatalogObject(quint16 stringsId, quint16 price)
{
    ObjdSpec spec;
    spec.tileIndex = 0;
    spec.price = price;
    spec.catalogStringsId = stringsId;
    return spec;
}
