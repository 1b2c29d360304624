// SPDX-License-Identifier: GPL-3.0-or-later
// The catalog icon of an object: a BMP_ resource of the same file.

#include "ObjdFieldAccess.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

using namespace ObjdAccess;

QImage clsIFF::GetIcon(quint16 ObjdID, const QImage& placeholder) const
{
    // The object's CatalogStringsID names its icon when a BMP_ has that ID. It is taken as a
    // signed 16-bit number, so 32768 and above count as 0, as does an OBJD we do not hold.
    quint16 stringsId = 0;
    if (const clsResource* objd = FindObjd(*this, ObjdID))
        stringsId = ReadField(objd->Body(), ObjdField::CatalogStringsID);
    if (stringsId >= 32768)
        stringsId = 0;

    quint16 iconId = 0;
    if (IsResource(BmpKey(stringsId))) {
        iconId = stringsId; // a BMP_ 0 ends the search here: no icon
    } else {
        // Otherwise the first BMP_ in load order named exactly "Catalog" or "faces" with a
        // nonzero ID.
        for (quint16 id : BmpIDs()) {
            if (id == 0)
                continue;
            const QByteArray key = BmpKey(id);
            if (!IsResource(key))
                continue;
            const QByteArray& name = Resource(key).Name;
            if (name == "Catalog" || name == "faces") {
                iconId = id;
                break;
            }
        }
    }

    if (iconId == 0)
        return placeholder;
    // Decoded in memory; the format is recognised from the bytes. A body that cannot be
    // decoded gives a null image, not the placeholder.
    return QImage::fromData(Resource(BmpKey(iconId)).Body());
}
