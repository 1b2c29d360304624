// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoLots.h"

#include "DemoCatalog.h"
#include "LotObjects.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

QList<DemoLot> DemoLots()
{
    return {
        {QStringLiteral("UserData/Houses/House01.iff"),
         3,
         {"Sofa - Classic", "Rug - Round", "Chair - Maxis Dining", "Lamp - Arc Floor"}},
        {QStringLiteral("UserData/Houses/House02.iff"),
         3,
         {"Double Bed - Lead", "Double Bed - Lead - Tile 0", "Double Bed - Lead - Tile 1",
          "Torch - Tiki"}},
        {QStringLiteral("UserData2/Houses/House01.iff"),
         2,
         {"Sofa - Classic", "Hot Tub - Deluxe", "Rug - Round"}},
        {QStringLiteral("UserData2/Houses/House02.iff"), 2, {"Door - Arched"}, true},
    };
}

bool WriteDemoLots(const QString& gameFolder, QString* error)
{
    for (const DemoLot& lot : DemoLots()) {
        QList<LotObjectType> types;
        for (const QByteArray& name : lot.objects)
            types.append({DemoGuid(name), 4, name});
        // The chunk is laid out here: the document makes only the types the program edits.
        QByteArray body = MakeObjtBody(lot.objtVersion, types);
        if (lot.cutShort) // its last entry ends inside the name
            body.chop(3);
        char size[4], id[2] = {0, 0};
        qToBigEndian(quint32(76 + body.size()), size);
        const QByteArray chunk = "OBJT" + QByteArray(size, 4) + QByteArray(id, 2) +
                                 QByteArray(2, '\0') +
                                 QByteArray("Object types").leftJustified(64, '\0') + body;
        clsIFF doc;
        doc.LoadData(ProgramState.IffSignature25 + QByteArray(4, '\0') + chunk);
        const QString path = gameFolder + lot.relativePath;
        if (!QDir().mkpath(QFileInfo(path).path()) || !doc.SaveFile(path)) {
            *error = QStringLiteral("%1 could not be written: %2").arg(path, doc.errorString());
            return false;
        }
    }
    return true;
}
