// SPDX-License-Identifier: GPL-3.0-or-later
#include "GuidMend.h"

#include "CatalogTypes.h"
#include "KeptSave.h"
#include "LotScan.h"
#include "ObjdFieldAccess.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <QRandomGenerator>
#include <QtEndian>

using namespace ObjdAccess;

namespace
{

bool HoldsBytes(const QByteArray& body, quint32 guid)
{
    char bytes[4];
    qToLittleEndian(guid, bytes);
    return body.contains(QByteArray(bytes, 4));
}

bool Refuse(GuidMendPlan& plan, const QString& why)
{
    plan.changes.clear();
    plan.error = why;
    return false;
}

} // namespace

QSet<quint32> GuidsInUse(const CollectionCatalog& catalog, const LotScan& lots)
{
    QSet<quint32> used;
    for (const CatalogFile& file : catalog.files) {
        for (const CatalogGuid& objd : file.guids)
            used.insert(objd.guid);
    }
    for (auto it = lots.byGuid.cbegin(); it != lots.byGuid.cend(); ++it)
        used.insert(it.key());
    return used;
}

GuidMendPlan PlanNewGuid(const clsIFF& doc, quint16 objdId, const QSet<quint32>& used,
                         std::optional<quint32> requested)
{
    GuidMendPlan plan;
    plan.object = objdId;
    const clsResource* chosen = FindObjd(doc, objdId);
    if (!chosen) {
        Refuse(plan, QStringLiteral("The file holds no object %1.").arg(objdId));
        return plan;
    }
    if (!doc.damageString().isEmpty()) {
        Refuse(plan, QStringLiteral("The file is damaged (%1); saving it would drop what could "
                                    "not be read.")
                         .arg(doc.damageString()));
        return plan;
    }
    if (requested && (*requested == 0 || used.contains(*requested))) {
        Refuse(plan, QStringLiteral("The GUID %1 is already in use.").arg(GuidText(*requested)));
        return plan;
    }
    const quint16 group = ReadField(chosen->Body(), ObjdField::GroupID);
    QSet<quint32> taken = used;
    if (requested)
        taken.insert(*requested);
    QList<const clsResource*> tiles;
    for (const quint16 id : doc.ObjdIDs()) {
        const clsResource* objd = FindObjd(doc, id);
        const bool tile = objd == chosen || (group != 0 && objd &&
                                             ReadField(objd->Body(), ObjdField::GroupID) == group);
        if (!tile || tiles.contains(objd))
            continue;
        if (!FieldFits(objd->Body(), ObjdField::Guid + 2)) {
            Refuse(plan, QStringLiteral("Object %1 is too short to hold a GUID.").arg(id));
            return plan;
        }
        tiles.append(objd);
        GuidChange change{id, ReadField32(objd->Body(), ObjdField::Guid), 0};
        if (objd == chosen && requested) {
            change.newGuid = *requested;
        } else {
            do
                change.newGuid = QRandomGenerator::system()->generate();
            while (change.newGuid == 0 || change.newGuid == 0xFFFFFFFF ||
                   taken.contains(change.newGuid));
            taken.insert(change.newGuid);
        }
        plan.changes.append(change);
    }
    for (int i = 1; i <= doc.ResourceCount() && !plan.selfReference; ++i) {
        const clsResource& chunk = doc.Resource(i);
        if (tiles.contains(&chunk))
            continue;
        for (const GuidChange& change : plan.changes)
            plan.selfReference = plan.selfReference || HoldsBytes(chunk.Body(), change.oldGuid);
    }
    return plan;
}

bool ApplyNewGuid(HistoryStore& store, clsIFF& doc, const QString& path, const GuidMendPlan& plan,
                  const ChangeInfo& info, QString* error)
{
    if (!plan.error.isEmpty() || plan.changes.isEmpty()) {
        *error = plan.error.isEmpty() ? QStringLiteral("Nothing to change.") : plan.error;
        return false;
    }
    for (const GuidChange& change : plan.changes) {
        clsResource* objd = FindObjd(doc, change.id);
        QByteArray body = objd ? objd->Body() : QByteArray();
        if (!objd || !WriteField(body, ObjdField::Guid, change.newGuid & 0xFFFF) ||
            !WriteField(body, ObjdField::Guid + 2, change.newGuid >> 16)) {
            *error = QStringLiteral("Object %1 cannot take a new GUID.").arg(change.id);
            return false;
        }
        objd->SetBody(body);
    }
    return SaveDocumentKept(store, doc, path, info, error);
}
