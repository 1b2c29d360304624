// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogTypes.h"

QString CatalogFile::displayPath() const
{
    if (entry.isEmpty())
        return path;
    return path + QLatin1Char('/') + QString::fromLatin1(entry);
}

QString GuidText(quint32 guid)
{
    return QStringLiteral("0x") +
           QString::number(guid, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}
