// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAddFolder.h"

#include "ProgramState.h"
#include "frmFolders.h"

frmAddFolder::frmAddFolder(frmFolders* owner) : FolderDialog(QStringLiteral("Add Folder"), owner) {}

void frmAddFolder::Store(const QString& path, bool includeSubfolders)
{
    ProgramState.Folders.append(FolderEntry{path, includeSubfolders});
    m_owner->Changed = true;
}
