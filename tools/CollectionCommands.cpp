// SPDX-License-Identifier: GPL-3.0-or-later
#include "CollectionCommands.h"

#include "CliContext.h"
#include "CollectionScan.h"
#include "Cp1252.h"
#include "FileGatherer.h"
#include "GameArchives.h"
#include "LotScan.h"
#include "MendCommands.h"
#include "ProgramState.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

const QByteArray kNone("*NONE*");

QJsonValue CatalogTextValue(const QByteArray& bytes)
{
    if (bytes == kNone)
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(DecodeCp1252(bytes));
}

// The objects element of one object, with its file and GUID.
QJsonObject ObjectJson(const CatalogFile& file, const CatalogObject& object)
{
    QJsonArray sorts;
    for (const qint32 slot : object.sorts)
        sorts.append(slot);
    QJsonObject json;
    json.insert(QStringLiteral("id"), int(object.id));
    json.insert(QStringLiteral("resource_name"), DecodeCp1252(object.resourceName));
    json.insert(QStringLiteral("name"), CatalogTextValue(object.name));
    json.insert(QStringLiteral("description"), CatalogTextValue(object.description));
    json.insert(QStringLiteral("language"),
                object.language ? QJsonValue(object.language) : QJsonValue(QJsonValue::Null));
    json.insert(QStringLiteral("price"), object.price);
    json.insert(QStringLiteral("disabled"), object.disabled);
    json.insert(QStringLiteral("sorts"), sorts);
    json.insert(QStringLiteral("file"), file.path);
    json.insert(QStringLiteral("guid"), GuidText(object.guid));
    return json;
}

QString CsvText(const QByteArray& bytes)
{
    return bytes == kNone ? QString() : DecodeCp1252(bytes);
}

void PrintCsv(QTextStream& out, const CollectionCatalog& catalog)
{
    out << "file,id,resource_name,name,description,price,disabled,function,sub_function,room,"
           "downtown,vacation,community,studio_town,magic_town,build_mode,guid\r\n";
    for (const CatalogRow& row : catalog.rows) {
        const CatalogFile& file = catalog.files[row.file];
        const CatalogObject& object = catalog.object(row);
        QStringList fields = {CsvField(file.path),
                              QString::number(object.id),
                              CsvField(DecodeCp1252(object.resourceName)),
                              CsvField(CsvText(object.name)),
                              CsvField(CsvText(object.description)),
                              QString::number(object.price),
                              object.disabled ? QStringLiteral("true") : QStringLiteral("false")};
        for (const qint32 slot : object.sorts)
            fields << QString::number(slot);
        fields << GuidText(object.guid);
        out << fields.join(QLatin1Char(',')) << "\r\n";
    }
}

CollectionCatalog Scan(bool withArchives)
{
    const QStringList archives =
        withArchives ? FindGameArchives(ProgramState.GameFolder) : QStringList();
    return ScanCollection(GatherObjectFiles(ProgramState.Folders), archives);
}

} // namespace

int CmdCatalog(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    const CollectionCatalog catalog = Scan(false);
    if (ctx.parser.isSet(QStringLiteral("csv"))) {
        PrintCsv(ctx.out, catalog);
    } else {
        QJsonArray objects;
        for (const CatalogRow& row : catalog.rows)
            objects.append(ObjectJson(catalog.files[row.file], catalog.object(row)));
        ctx.out << QString::fromUtf8(QJsonDocument(objects).toJson(QJsonDocument::Indented));
    }
    ctx.out.flush();
    return CliExit::Done;
}

int CmdConflicts(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    const CollectionCatalog catalog = Scan(true);
    const LotScan lots = ScanCliLots(ctx);
    QJsonArray groups;
    for (const CatalogConflict& conflict : catalog.conflicts) {
        QJsonArray members;
        for (const ConflictMember& member : conflict.members) {
            const CatalogFile& file = catalog.files[member.file];
            QJsonObject json;
            json.insert(QStringLiteral("file"), file.path);
            json.insert(QStringLiteral("entry"), file.inArchive
                                                     ? QJsonValue(DecodeCp1252(file.entry))
                                                     : QJsonValue(QJsonValue::Null));
            json.insert(QStringLiteral("id"), int(member.id));
            json.insert(QStringLiteral("resource_name"), DecodeCp1252(member.resourceName));
            json.insert(QStringLiteral("identical_copy"), member.identicalCopy);
            members.append(json);
        }
        QJsonObject group;
        group.insert(QStringLiteral("guid"), GuidText(conflict.guid));
        group.insert(QStringLiteral("objects"), members);
        QJsonArray lotFiles;
        for (const int lot : lots.lotsUsing(conflict.guid))
            lotFiles.append(lots.lots[lot].file);
        group.insert(QStringLiteral("lots"), lotFiles);
        groups.append(group);
    }
    ctx.out << QString::fromUtf8(QJsonDocument(groups).toJson(QJsonDocument::Indented));
    ctx.out.flush();
    return CliExit::Done;
}

int CmdCheck(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    const CollectionCatalog catalog = Scan(true);
    for (const int f : catalog.problems) {
        const CatalogFile& file = catalog.files[f];
        ctx.out << file.displayPath() << '\t' << file.reason << '\n';
    }
    ctx.out.flush();
    return catalog.problems.isEmpty() ? CliExit::Done : CliExit::Failed;
}
