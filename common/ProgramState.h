// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

inline constexpr const char* kProgramName = "Kestrane";

// The 60-byte signature of an IFF file of the given version ("2.5" or "2.0").
QByteArray MakeIffSignature(const char* version);

// The one record of program-wide state, read and written directly by modules and windows.
struct ProgramStateData {
    QString ProgramFolder;     // ends in "/"
    QString GameFolder;        // ends in "/"
    qint32 FileKeyCounter = 0; // 32-bit: download folders hold more than 32,767 files
    QString VersionText;
    QList<Preset> Presets;
    QList<FolderEntry> Folders;
    QByteArray IffSignature25 = MakeIffSignature("2.5");
    QByteArray IffSignature20 = MakeIffSignature("2.0");
    qint16 BusyCount = 0;
    // The language the game runs in, whose catalog texts are shown and edited (GameLanguages.h).
    quint8 GameLanguage = 1;

    int PresetCount() const { return Presets.size(); }
    int FolderCount() const { return Folders.size(); }
};

extern ProgramStateData ProgramState;
