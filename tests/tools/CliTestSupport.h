// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the kestrane-cli tests: command lines run in-process with their output captured,
// generated fixture files, and a scoped environment that keeps the user's home out of reach.

#include "../app/AppTestEnv.h"
#include "CatalogFixture.h"
#include "CliCommands.h"
#include "DataFiles.h"

#include <QProcess>
#include <QTextStream>

struct CliResult {
    int code = -1;
    QString out, err;
};

// A command line split as a shell would ("double quotes" keep blanks), run in-process.
inline CliResult Cli(const QString& commandLine)
{
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code =
        RunCli(QStringList("kestrane-cli") + QProcess::splitCommand(commandLine), out, err);
    out.flush();
    err.flush();
    return result;
}

// The standard output of a command line that must succeed.
inline QString Output(const QString& commandLine)
{
    const CliResult result = Cli(commandLine);
    EXPECT_EQ(result.code, 0) << commandLine.toStdString() << ": " << result.err.toStdString();
    return result.out;
}

// No test reaches the user's home, Wine prefix, Steam libraries or trash; the program state
// is put back afterwards.
class CliTest : public ::testing::Test
{
protected:
    TempHome tmp;
    StateGuard guard;
    QString path(const QString& relative) const { return tmp.dir.filePath(relative); }
    // A data folder and a game folder for the commands that need the program's state, and the
    // options that name them.
    const QString data = path(QStringLiteral("data")), game = path(QStringLiteral("game"));
    const QString dirs = QStringLiteral("--data-dir %1 --game-dir %2 ").arg(data, game);
    CliTest() { QDir().mkpath(data); }
};

inline const SortSet kChairSorts = {1, 2, 4, 8, 16, 32, 64, 128, 3};

// OBJD 128 with catalog text (CTSS 2000); OBJD 129 pointing at a CTSS the file lacks; a
// two-tile object (lead 130, tile 131); an icon and a string list. Each GUID is its OBJD's ID.
// (ObjdSpec: group, tile, disabled, price, catalog text, GUID, sorts.)
inline QByteArray CatalogFileBytes()
{
    return CatalogFixture()
        .objd(128, "Chair \xe9", ObjdSpec{1, 0, 1, 250, 2000, 128, kChairSorts})
        .ctss(2000, MakeCatalogCtss("Oak Chair", "Sturdy \x80 seat"))
        .objd(129, "Lamp", ObjdSpec{2, 0, 0, 40, 3000, 129, {128, 2, 8, 0, 0, 0, 0, 0, 0}})
        .objd(130, "Bed lead", ObjdSpec{5, 0xFFFF, 0, 900, 2000, 130})
        .objd(131, "Bed tile", ObjdSpec{5, 0, 0, 0, 2000, 131})
        .bmp(2000, "Catalog", QByteArray("0123456789"))
        .chunk("STR#", 128, "strings", QByteArray("abc"))
        .fileBytes();
}

inline QByteArray PresetsBytes(const QList<Preset>& presets)
{
    QByteArray bytes;
    EXPECT_TRUE(EncodePresets(presets, &bytes));
    return bytes;
}
