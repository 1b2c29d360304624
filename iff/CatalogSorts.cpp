// SPDX-License-Identifier: GPL-3.0-or-later
// The nine catalog sort fields of an OBJD.

#include "ObjdFieldAccess.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

using namespace ObjdAccess;

SortSet clsIFF::GetSorts(quint16 ObjdID) const
{
    const QByteArray& body = RequireObjd(*this, ObjdID).Body();
    SortSet sorts{};
    for (int slot = 0; slot < 9; ++slot)
        sorts[slot] = ReadField(body, kSortSlotOffsets[slot]);
    return sorts;
}

bool clsIFF::SetSorts(quint16 ObjdID, const SortSet& Sorts)
{
    clsResource* objd = FindObjd(*this, ObjdID);
    if (!objd)
        return false;
    QByteArray body = objd->Body();
    bool same = true;
    for (int slot = 0; slot < 9; ++slot)
        same = same && ReadField(body, kSortSlotOffsets[slot]) == quint16(Sorts[slot]);
    if (same)
        return true; // already stored; a short body is not refused for values it holds
    // All nine fields or none: a body too short for any of them is left as it is.
    for (int offset : kSortSlotOffsets) {
        if (!FieldFits(body, offset))
            return false;
    }
    for (int slot = 0; slot < 9; ++slot)
        WriteField(body, kSortSlotOffsets[slot], quint32(Sorts[slot]));
    objd->SetBody(body);
    return true;
}
