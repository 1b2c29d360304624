// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryCommands.h"

#include "CliContext.h"
#include "HistoryRestore.h"
#include "HistoryStore.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

QString isoTime(const HistoryChange& change)
{
    return change.time.toUTC().toString(Qt::ISODateWithMs);
}

int forget(const CliContext& ctx, HistoryStore& store)
{
    if (!ctx.arguments.isEmpty())
        return ctx.usage(QStringLiteral("history --forget takes no file."));
    std::optional<int> days;
    if (ctx.parser.isSet(QStringLiteral("older-than"))) {
        bool ok = false;
        const int value = ctx.parser.value(QStringLiteral("older-than")).toInt(&ok);
        if (!ok || value < 0)
            return ctx.usage(QStringLiteral("--older-than needs a number of days."));
        days = value;
    }
    QString error;
    if (!store.forget(days, &error))
        return ctx.fail(error);
    return CliExit::Done;
}

} // namespace

int CmdHistory(const CliContext& ctx)
{
    if (ctx.parser.isSet(QStringLiteral("older-than")) &&
        !ctx.parser.isSet(QStringLiteral("forget")))
        return ctx.usage(QStringLiteral("--older-than goes with --forget."));
    HistoryStore store(ctx.dataFolder());
    QString error;
    if (!store.open(&error))
        return ctx.fail(error);
    if (ctx.parser.isSet(QStringLiteral("forget")))
        return forget(ctx, store);

    QStringList files;
    for (const QString& file : ctx.arguments)
        files << QFileInfo(file).absoluteFilePath();
    const QList<HistoryChange> changes = store.changes(files);
    if (ctx.parser.isSet(QStringLiteral("csv"))) {
        ctx.out << "id,time,file,program,batch,summary\r\n";
        for (const HistoryChange& change : changes)
            ctx.out << change.id << ',' << isoTime(change) << ',' << CsvField(change.file) << ','
                    << CsvField(change.program) << ',' << CsvField(change.batch) << ','
                    << CsvField(change.summary) << "\r\n";
    } else {
        QJsonArray rows;
        for (const HistoryChange& change : changes) {
            QJsonObject row;
            row.insert(QStringLiteral("id"), change.id);
            row.insert(QStringLiteral("time"), isoTime(change));
            row.insert(QStringLiteral("file"), change.file);
            row.insert(QStringLiteral("program"), change.program);
            row.insert(QStringLiteral("batch"), change.batch);
            row.insert(QStringLiteral("summary"), change.summary);
            rows.append(row);
        }
        ctx.out << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
    }
    ctx.out.flush();
    return CliExit::Done;
}

int CmdRestore(const CliContext& ctx)
{
    const bool byChange = ctx.parser.isSet(QStringLiteral("change"));
    const bool original = ctx.parser.isSet(QStringLiteral("original"));
    if (byChange && original)
        return ctx.usage(QStringLiteral("Give either --change or --original, not both."));
    const QString file = QFileInfo(ctx.arguments.at(0)).absoluteFilePath();
    HistoryStore store(ctx.dataFolder());
    QString error;
    if (!store.open(&error))
        return ctx.fail(error);

    std::optional<RestoreItem> plan;
    if (byChange) {
        bool ok = false;
        const qint64 id = ctx.parser.value(QStringLiteral("change")).toLongLong(&ok);
        if (!ok)
            return ctx.usage(QStringLiteral("--change needs a change ID (see history)."));
        const std::optional<HistoryChange> change = store.change(id);
        if (!change || change->file != file)
            return ctx.fail(QStringLiteral("%1 has no recorded change %2.").arg(file).arg(id));
        plan = PlanRestore(store, id);
    } else {
        plan = original ? PlanOriginal(store, file) : PlanUndoLatest(store, file);
    }
    if (!plan)
        return ctx.fail(QStringLiteral("%1 has no recorded change.").arg(file));
    if (!plan->copyAvailable)
        return ctx.fail(QStringLiteral("The copy of %1 from before change %2 is no longer kept.")
                            .arg(file)
                            .arg(plan->changeId));
    if (plan->changedElsewhere && !ctx.parser.isSet(QStringLiteral("force")))
        return ctx.fail(QStringLiteral("%1 was changed since Kestrane last wrote it; restoring "
                                       "would replace that. Give --force to restore anyway "
                                       "(its present content is kept in the history first).")
                            .arg(file));
    QList<RestoreOutcome> outcomes;
    if (!RestoreFiles(store, {*plan}, ChangeInfo{QStringLiteral("cli"), QString(), QString()},
                      &outcomes))
        return ctx.fail(outcomes.value(0).error);
    ctx.out << QStringLiteral("Restored %1 as before change %2.").arg(file).arg(plan->changeId)
            << Qt::endl;
    return CliExit::Done;
}
