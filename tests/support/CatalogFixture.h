// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogBodies.h"

#include <QByteArray>

class clsIFF;

// Builds a small IFF object file chunk by chunk and loads it, as the loader fills the ID lists.
class CatalogFixture
{
public:
    CatalogFixture& chunk(const QByteArray& format, quint16 id, const QByteArray& name,
                          const QByteArray& body);
    CatalogFixture& objd(quint16 id, const QByteArray& name, const ObjdSpec& spec = {})
    {
        return chunk("OBJD", id, name, MakeObjdBody(spec));
    }
    CatalogFixture& ctss(quint16 id, const QByteArray& body) { return chunk("CTSS", id, "", body); }
    CatalogFixture& bmp(quint16 id, const QByteArray& name,
                        const QByteArray& body = MakeBmp(74, 37, qRgb(200, 120, 40)))
    {
        return chunk("BMP_", id, name, body);
    }

    // The whole file: 2.5 signature, map offset 0 (the loader ignores it), the chunks.
    QByteArray fileBytes() const;
    // Clears doc and loads the file into it; false on failure.
    bool loadInto(clsIFF& doc) const;

private:
    QByteArray m_chunks;
};

// A typical catalog object: a single tile whose catalog text and icon carry stringsId.
ObjdSpec CatalogObject(quint16 stringsId, quint16 price = 0);
