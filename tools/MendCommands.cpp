// SPDX-License-Identifier: GPL-3.0-or-later
#include "MendCommands.h"

#include "CatalogTypes.h"
#include "CliContext.h"
#include "CollectionScan.h"
#include "DuplicateMend.h"
#include "FileGatherer.h"
#include "GameArchives.h"
#include "GuidMend.h"
#include "HistoryStore.h"
#include "LotScan.h"
#include "Neighbourhoods.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

void PrintJson(const CliContext& ctx, const QJsonArray& array)
{
    ctx.out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    ctx.out.flush();
}

CollectionCatalog ScanWithArchives()
{
    return ScanCollection(GatherObjectFiles(ProgramState.Folders),
                          FindGameArchives(ProgramState.GameFolder));
}

QString LotPlaces(const LotScan& lots, quint32 guid)
{
    QStringList files;
    for (const int lot : lots.lotsUsing(guid))
        files << lots.lots[lot].file;
    return files.join(QStringLiteral(", "));
}

} // namespace

LotScan ScanCliLots(const CliContext& ctx)
{
    QStringList folders = FindNeighbourhoods(ProgramState.GameFolder);
    folders += ctx.parser.values(QStringLiteral("userdata"));
    const LotScan scan = ScanLots(folders);
    for (const LotProblem& problem : scan.problems)
        ctx.err << QStringLiteral("%1 was skipped: %2").arg(problem.file, problem.reason)
                << Qt::endl;
    return scan;
}

int CmdLots(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    const LotScan scan = ScanCliLots(ctx);
    QJsonArray lots;
    for (const LotRecord& lot : scan.lots) {
        QJsonArray guids;
        for (const quint32 guid : lot.guids)
            guids.append(GuidText(guid));
        lots.append(
            QJsonObject{{QStringLiteral("folder"), lot.folder},
                        {QStringLiteral("file"), lot.file},
                        {QStringLiteral("name"),
                         lot.name.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(lot.name)},
                        {QStringLiteral("guids"), guids}});
    }
    PrintJson(ctx, lots);
    return CliExit::Done;
}

int CmdNewGuid(const CliContext& ctx)
{
    bool ok = false;
    const uint id = ctx.parser.value(QStringLiteral("object")).toUInt(&ok);
    if (!ok || id > 0xFFFF)
        return ctx.usage(
            QStringLiteral("new-guid needs --object with an OBJD ID from 0 to 65535."));
    std::optional<quint32> requested;
    if (ctx.parser.isSet(QStringLiteral("guid"))) {
        const QString text = ctx.parser.value(QStringLiteral("guid"));
        const quint32 guid = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                 ? text.mid(2).toUInt(&ok, 16)
                                 : text.toUInt(&ok, 10);
        if (!ok)
            return ctx.usage(QStringLiteral("--guid needs a number such as 0x1A2B3C4D."));
        requested = guid;
    }
    if (!ctx.startUp())
        return CliExit::Failed;
    const QString path = ctx.arguments.at(0);
    clsIFF doc;
    if (!ctx.loadDocument(doc, path))
        return CliExit::Failed;
    const CollectionCatalog catalog = ScanWithArchives();
    const LotScan lots = ScanCliLots(ctx);
    const GuidMendPlan plan = PlanNewGuid(doc, quint16(id), GuidsInUse(catalog, lots), requested);
    if (!plan.error.isEmpty())
        return ctx.fail(plan.error);
    QJsonArray changed;
    QStringList summary;
    for (const GuidChange& change : plan.changes) {
        changed.append(QJsonObject{{QStringLiteral("id"), int(change.id)},
                                   {QStringLiteral("old"), GuidText(change.oldGuid)},
                                   {QStringLiteral("new"), GuidText(change.newGuid)}});
        summary << QStringLiteral("%1 → %2").arg(GuidText(change.oldGuid),
                                                 GuidText(change.newGuid));
        const QString places = LotPlaces(lots, change.oldGuid);
        if (!places.isEmpty())
            ctx.err << QStringLiteral("Lots placing %1 keep it and will show the object that "
                                      "keeps it: %2")
                           .arg(GuidText(change.oldGuid), places)
                    << Qt::endl;
    }
    if (plan.selfReference)
        ctx.err << QStringLiteral("The old GUID also appears elsewhere in the file: the object "
                                  "may behave differently.")
                << Qt::endl;
    if (!ctx.parser.isSet(QStringLiteral("dry-run"))) {
        HistoryStore history(ctx.dataFolder());
        const ChangeInfo info{QStringLiteral("cli"), QString(),
                              QStringLiteral("New GUID for object %1: %2")
                                  .arg(id)
                                  .arg(summary.join(QStringLiteral(", ")))};
        QString error;
        if (!ApplyNewGuid(history, doc, path, plan, info, &error))
            return ctx.fail(error);
    }
    ctx.out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("file"), path},
                                                           {QStringLiteral("object"), int(id)},
                                                           {QStringLiteral("changed"), changed}})
                                     .toJson(QJsonDocument::Indented));
    ctx.out.flush();
    return CliExit::Done;
}

int CmdDedupe(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    const CollectionCatalog catalog = ScanWithArchives();
    const bool dryRun = ctx.parser.isSet(QStringLiteral("dry-run"));
    HistoryStore history(ctx.dataFolder());
    QJsonArray result;
    bool failed = false;
    for (const QStringList& paths : IdenticalCopySets(catalog, ReadCatalogFileBytes)) {
        const int keep = DefaultCopyToKeep(paths);
        QStringList others = paths;
        others.removeAt(keep);
        if (!dryRun) {
            QStringList trashed;
            QString error;
            const ChangeInfo info{
                QStringLiteral("cli"), QString(),
                QStringLiteral("Kept %1, deleted its identical copies").arg(paths[keep]),
                QStringLiteral("delete")};
            if (!KeepOneCopy(history, paths, keep, info, &trashed, &error)) {
                ctx.err << error << Qt::endl;
                failed = true;
            }
            others = trashed;
        }
        result.append(QJsonObject{{QStringLiteral("keep"), paths[keep]},
                                  {QStringLiteral("delete"), QJsonArray::fromStringList(others)}});
    }
    PrintJson(ctx, result);
    return failed ? CliExit::Failed : CliExit::Done;
}
