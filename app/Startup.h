// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The non-window steps of start-up.

// "1.00" for 1.0.0, "2.05.03" for 2.5.3.
QString BuildVersionText(int major, int minor, int revision);
// Names the program for Qt, the same for the window and kestrane-cli: the per-user data folder
// is named after it.
void SetProgramName();
// The per-user folder of presets.dat and folders.dat (QStandardPaths::AppDataLocation, so
// normally ~/.local/share/Kestrane/); ends in "/". Not created here.
QString UserDataFolder();
// Where presets.dat and folders.dat live: dataDir when given; otherwise the first of
// portableFolders that already holds one of the two files (a copy kept beside the program);
// otherwise UserDataFolder(). Ends in "/".
QString ChooseDataFolder(const QString& dataDir, const QStringList& portableFolders);
// ChooseDataFolder() for the running program: the executable's folder is the portable one.
QString DefaultProgramFolder();

struct StartupOptions {
    QString dataDir;     // where presets.dat and folders.dat live; empty: DefaultProgramFolder()
    QString gameDir;     // use this game folder; empty: GetGameFolder()
    quint8 language = 0; // the game's language (GameLanguages.h); 0: FindGameLanguage()
};

// The language of the game in gameDir (empty: the one LocateGame finds), read from the
// registry of its prefix; US English when nothing names one.
quint8 FindGameLanguage(const QString& gameDir);

enum class StartupResult { Ready, GameNotFound };

// Builds VersionText and the signatures, sets ProgramFolder, GameFolder and GameLanguage, and
// when the game folder exists reads presets.dat and folders.dat and supplies the default folders.
// GameNotFound: the caller says "The Sims directory could not be found." and ends.
StartupResult RunStartup(const StartupOptions& options);
