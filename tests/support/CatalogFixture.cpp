#include "CatalogFixture.h"

#include "IffBytes.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QTemporaryDir>

CatalogFixture& CatalogFixture::chunk(const QByteArray& format, quint16 id, const QByteArray& name,
                                      const QByteArray& body)
{
    m_chunks += ::Chunk(format.left(4), id, body, name);
    return *this;
}

QByteArray CatalogFixture::fileBytes() const
{
    return MakeIffSignature("2.5") + QByteArray(4, '\0') + m_chunks;
}

bool CatalogFixture::loadInto(clsIFF& doc) const
{
    QTemporaryDir dir;
    const QString path = dir.filePath("fixture.iff");
    WriteFile(path, fileBytes());
    doc.Clear();
    return dir.isValid() && doc.LoadFile(path);
}

ObjdSpec CatalogObject(quint16 stringsId, quint16 price)
{
    return ObjdSpec{.price = price, .catalogStringsId = stringsId};
}
