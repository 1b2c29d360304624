// SPDX-License-Identifier: GPL-3.0-or-later
#include "MoveCommand.h"

#include "BatchEngine.h"
#include "CliContext.h"
#include "HistoryStore.h"
#include "SetCommand.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

int CmdMove(const CliContext& ctx)
{
    const QString folder = ctx.parser.value(QStringLiteral("to"));
    if (folder.isEmpty())
        return ctx.usage(QStringLiteral("move needs --to DIR."));
    if (ctx.arguments.isEmpty())
        return ctx.usage(QStringLiteral("move needs FILE."));
    HistoryStore history(ctx.dataFolder());
    BatchOptions options;
    options.info.program = QStringLiteral("cli");
    options.dryRun = ctx.parser.isSet(QStringLiteral("dry-run"));
    const NameClash clash =
        ctx.parser.isSet(QStringLiteral("keep-both")) ? NameClash::KeepBoth : NameClash::Skip;
    const BatchResult result = MoveBatch(history, ctx.arguments, folder, clash, options);
    QJsonArray moved;
    for (const FileOutcome& file : result.files) {
        if (file.failure == BatchFailure::None && !file.movedTo.isEmpty())
            moved.append(QJsonObject{{QStringLiteral("file"), file.file},
                                     {QStringLiteral("to"), file.movedTo}});
    }
    ctx.out << QString::fromUtf8(QJsonDocument(moved).toJson(QJsonDocument::Indented));
    ctx.out.flush();
    PrintFailures(ctx, result);
    return result.failures().isEmpty() ? CliExit::Done : CliExit::Failed;
}
