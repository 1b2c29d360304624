// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChangeSummary.h"

#include "Cp1252.h"
#include "ObjdFieldAccess.h"
#include "SortVocabulary.h"
#include "clsIFF.h"

#include <QStringList>

namespace
{

const QByteArray kNone("*NONE*");

QString quoted(const QByteArray& bytes)
{
    return QLatin1Char('\'') + DecodeCp1252(bytes) + QLatin1Char('\'');
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

ObjectFields ReadObjectFields(const clsIFF& document, quint16 objdId)
{
    ObjectFields fields;
    if (const clsResource* objd = ObjdAccess::FindObjd(document, objdId))
        fields.resourceName = objd->Name;
    fields.name = document.GetName(objdId);
    fields.description = document.GetDescription(objdId);
    fields.price = document.GetPrice(objdId);
    fields.disabled = document.GetDisabled(objdId);
    fields.sorts = document.GetSorts(objdId);
    return fields;
}

QString DescribeObjectChange(quint16 objdId, const ObjectFields& before, const ObjectFields& after)
{
    const QByteArray& label = before.name != kNone ? before.name : before.resourceName;
    QStringList parts;
    if (before.price != after.price)
        parts << QStringLiteral("price %1 → %2").arg(before.price).arg(after.price);
    if (before.name != after.name)
        parts << QStringLiteral("name %1 → %2").arg(quoted(before.name), quoted(after.name));
    if (before.description != after.description)
        parts << QStringLiteral("description %1 → %2")
                     .arg(quoted(before.description), quoted(after.description));
    if (before.disabled != after.disabled)
        parts << QStringLiteral("Disabled %1 → %2")
                     .arg(yesNo(before.disabled), yesNo(after.disabled));
    for (int slot = 0; slot < 9; ++slot) {
        if (before.sorts[slot] == after.sorts[slot])
            continue;
        QString caption = SortCaption(slot);
        if (caption.endsWith(QLatin1Char(':')))
            caption.chop(1);
        parts << QStringLiteral("%1 %2 → %3")
                     .arg(caption)
                     .arg(before.sorts[slot])
                     .arg(after.sorts[slot]);
    }
    return QStringLiteral("Object %1 %2: %3")
        .arg(objdId)
        .arg(quoted(label),
             parts.isEmpty() ? QStringLiteral("no change") : parts.join(QStringLiteral("; ")));
}
