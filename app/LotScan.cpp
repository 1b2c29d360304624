// SPDX-License-Identifier: GPL-3.0-or-later
#include "LotScan.h"

#include "LotObjects.h"
#include "Neighbourhoods.h"

#include <QFile>

LotScan ScanLots(const QStringList& neighbourhoods)
{
    LotScan scan;
    for (const QString& folder : neighbourhoods) {
        for (const QString& path : LotFilesOf(folder)) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                scan.problems.append({path, file.errorString()});
                continue;
            }
            const LotContents contents = ReadLotBytes(file.readAll());
            if (!contents.damage.isEmpty()) {
                scan.problems.append({path, contents.damage});
                continue;
            }
            LotRecord lot{folder, path, QString(), contents.guids()};
            for (const quint32 guid : lot.guids)
                scan.byGuid[guid].append(scan.lots.size());
            scan.lots.append(std::move(lot));
        }
    }
    return scan;
}
