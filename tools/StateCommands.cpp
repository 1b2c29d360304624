// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateCommands.h"

#include "CliContext.h"
#include "DemoInstallation.h"
#include "FileGatherer.h"
#include "GameLanguages.h"
#include "ProgramState.h"

#include <QDir>
#include <QStringList>
#include <QTextStream>

int CmdFiles(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    for (const ObjectFile& file : GatherObjectFiles(ProgramState.Folders))
        ctx.out << file.FullPath << '\n';
    ctx.out.flush();
    return CliExit::Done;
}

int CmdPresets(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    for (const Preset& preset : ProgramState.Presets) {
        QStringList slots;
        for (const qint32 value : preset.Sorts)
            slots << QString::number(value);
        ctx.out << PrintableText(preset.Name) << '\t' << slots.join(QLatin1Char(',')) << '\n';
    }
    ctx.out.flush();
    return CliExit::Done;
}

int CmdGameFolder(const CliContext& ctx)
{
    if (!ctx.startUp())
        return CliExit::Failed;
    ctx.out << ProgramState.GameFolder << Qt::endl;
    ctx.out << QStringLiteral("Language: %1 (%2)")
                   .arg(GameLanguages::Name(ProgramState.GameLanguage))
                   .arg(ProgramState.GameLanguage)
            << Qt::endl;
    return CliExit::Done;
}

int CmdMakeDemo(const CliContext& ctx)
{
    const QString prefix = QDir(ctx.arguments.at(0)).absolutePath();
    QString error;
    if (!MakeDemoInstallation(prefix, &error))
        return ctx.fail(error);
    ctx.out << QStringLiteral(
                   "Demo installation written to %1 (start Kestrane with WINEPREFIX=%1).")
                   .arg(prefix)
            << Qt::endl;
    return CliExit::Done;
}
