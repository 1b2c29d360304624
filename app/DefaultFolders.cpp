// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultFolders.h"

#include "ProgramState.h"

void SetDefaultFolders()
{
    const QString& game = ProgramState.GameFolder;
    QList<FolderEntry> folders;
    folders << FolderEntry{game + QStringLiteral("Downloads/"), true}
            << FolderEntry{game + QStringLiteral("GameData/Objects/"), false}
            << FolderEntry{game + QStringLiteral("GameData/UserObjects/"), false}
            << FolderEntry{game + QStringLiteral("ExpansionPack/"), false};
    // The first expansion folder has no number; the others run from 2 to 7.
    for (int n = 2; n <= 7; ++n)
        folders << FolderEntry{game + QStringLiteral("ExpansionPack%1/").arg(n), false};
    folders << FolderEntry{game + QStringLiteral("Deluxe/"), false}
            << FolderEntry{game + QStringLiteral("ExpansionShared/"), false};
    ProgramState.Folders = folders;
}
