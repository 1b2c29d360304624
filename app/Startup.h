#pragma once

#include <QString>

// The non-window steps of start-up.

// "1.00" for 1.0.0, "2.05.03" for 2.5.3.
QString BuildVersionText(int major, int minor, int revision);
// The folder of the executable where it is writable, otherwise the per-user application data
// folder; ends in "/".
QString DefaultProgramFolder();

struct StartupOptions {
    QString dataDir; // where presets.dat and folders.dat live; empty: DefaultProgramFolder()
    QString gameDir; // use this game folder; empty: GetGameFolder()
};

enum class StartupResult { Ready, GameNotFound };

// Builds VersionText and the signatures, sets ProgramFolder and GameFolder, and when the game
// folder exists reads presets.dat and folders.dat and supplies the default folders.
// GameNotFound: the caller says "The Sims directory could not be found." and ends.
StartupResult RunStartup(const StartupOptions& options);
