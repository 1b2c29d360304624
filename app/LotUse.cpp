// SPDX-License-Identifier: GPL-3.0-or-later
#include "LotUse.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

QList<int> LotsLosingObjects(const CollectionCatalog& catalog, const LotScan& lots,
                             const QStringList& removed)
{
    QSet<QString> gone;
    for (const QString& path : removed)
        gone.insert(QDir::cleanPath(path));
    QSet<quint32> leaving, staying;
    for (const CatalogFile& file : catalog.files) {
        const bool goes = !file.inArchive && gone.contains(QDir::cleanPath(file.path));
        for (const CatalogGuid& objd : file.guids)
            (goes ? leaving : staying).insert(objd.guid);
    }
    QList<int> losing;
    for (int i = 0; i < lots.lots.size(); ++i) {
        for (const quint32 guid : lots.lots[i].guids) {
            if (leaving.contains(guid) && !staying.contains(guid)) {
                losing.append(i);
                break;
            }
        }
    }
    return losing;
}

QString LotLabel(const LotRecord& lot)
{
    QString label =
        QFileInfo(lot.folder).fileName() + QStringLiteral(", ") + QFileInfo(lot.file).fileName();
    if (!lot.name.isEmpty())
        label += QStringLiteral(" (%1)").arg(lot.name);
    return label;
}

QList<int> TakeLotNumbers(const QString& text, QString* rest)
{
    static const QRegularExpression lotWord(QStringLiteral("^lot:(\\d*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QList<int> numbers;
    QStringList others;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = lotWord.match(word);
        if (!match.hasMatch())
            others << word;
        else if (!match.captured(1).isEmpty())
            numbers << match.captured(1).toInt();
    }
    *rest = others.join(QLatin1Char(' '));
    return numbers;
}

int LotNumber(const QString& lotFile)
{
    static const QRegularExpression houseName(QStringLiteral("^house(\\d+)\\.iff$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = houseName.match(QFileInfo(lotFile).fileName());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}
