#pragma once

// Shared by the kestrane-cli tests: command lines run in-process with their output captured,
// generated fixture files, and a scoped environment that keeps the user's home out of reach.

#include "../app/AppTestEnv.h"
#include "CatalogFixture.h"
#include "CliCommands.h"
#include "DataFiles.h"
#include "ProgramState.h"

#include <QProcess>
#include <QTextStream>
#include <gtest/gtest.h>

struct CliResult {
    int code = -1;
    QString out;
    QString err;
};

inline CliResult RunArgs(QStringList arguments)
{
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    arguments.prepend(QStringLiteral("kestrane-cli"));
    result.code = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

// A command line split as a shell would ("double quotes" keep blanks).
inline CliResult Cli(const QString& commandLine)
{
    return RunArgs(QProcess::splitCommand(commandLine));
}

// No test reaches the user's home, Wine prefix, Steam libraries or trash; the program state
// is put back afterwards.
class CliTest : public ::testing::Test
{
protected:
    TempHome tmp;
    StateGuard state;
    QString path(const QString& relative) const { return tmp.dir.filePath(relative); }
    // A data folder and a game folder for the commands that need the program's state.
    const QString data = path(QStringLiteral("data")), game = path(QStringLiteral("game"));
    CliTest() { QDir().mkpath(data); }
    CliResult run(const QString& command)
    {
        return Cli(QStringLiteral("--data-dir %1 --game-dir %2 %3").arg(data, game, command));
    }
};

inline ObjdSpec FixtureObjd(quint16 groupId, quint16 tileIndex, quint16 price, quint16 stringsId,
                            SortSet sorts = {}, quint16 disabled = 0)
{
    return {groupId, tileIndex, disabled, price, stringsId, 0, sorts}; // ObjdSpec's order
}

inline const SortSet kChairSorts = {1, 2, 4, 8, 16, 32, 64, 128, 3};

// OBJD 128 with catalog text (CTSS 2000); OBJD 129 pointing at a CTSS the file lacks; a
// two-tile object (lead 130, tile 131); an icon and a string list.
inline QByteArray CatalogFileBytes()
{
    CatalogFixture fixture;
    fixture.objd(128, "Chair \xe9", FixtureObjd(1, 0, 250, 2000, kChairSorts, 1))
        .ctss(2000, MakeCatalogCtss("Oak Chair", "Sturdy \x80 seat"))
        .objd(129, "Lamp", FixtureObjd(2, 0, 40, 3000, {128, 2, 8, 0, 0, 0, 0, 0, 0}))
        .objd(130, "Bed lead", FixtureObjd(5, 0xFFFF, 900, 2000))
        .objd(131, "Bed tile", FixtureObjd(5, 0, 0, 2000))
        .bmp(2000, "Catalog", QByteArray("0123456789"))
        .chunk("STR#", 128, "strings", QByteArray("abc"));
    return fixture.fileBytes();
}

inline QByteArray PresetsBytes(const QList<Preset>& presets)
{
    QByteArray bytes;
    EXPECT_TRUE(EncodePresets(presets, &bytes));
    return bytes;
}
