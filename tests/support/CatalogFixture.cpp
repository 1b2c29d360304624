// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogFixture.h"

#include "IffBytes.h"
#include "clsIFF.h"

CatalogFixture& CatalogFixture::chunk(const QByteArray& format, quint16 id, const QByteArray& name,
                                      const QByteArray& body)
{
    m_chunks += ::Chunk(format.left(4), id, body, name);
    return *this;
}

QByteArray CatalogFixture::fileBytes() const
{
    return IffHeader() + m_chunks;
}

bool CatalogFixture::loadInto(clsIFF& doc) const
{
    doc.Clear();
    return doc.LoadData(fileBytes());
}

ObjdSpec CatalogObject(quint16 stringsId, quint16 price)
{
    return ObjdSpec{.price = price, .catalogStringsId = stringsId};
}
