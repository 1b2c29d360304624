// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmEditFolder.h"

#include "ProgramState.h"
#include "frmFolders.h"

#include <QCheckBox>
#include <QLineEdit>

frmEditFolder::frmEditFolder(frmFolders* owner) : FolderDialog(QStringLiteral("Edit Folder"), owner)
{
    EditIndex = owner->SelectedFolder();
    if (EditIndex < 0)
        return;
    const FolderEntry& entry = ProgramState.Folders[EditIndex];
    txtFolder->setText(entry.Path);
    chkSubfolders->setChecked(entry.IncludeSubfolders);
}

void frmEditFolder::Store(const QString& path, bool includeSubfolders)
{
    // Modify Folders opens this dialog only with a row selected; should the entry be gone,
    // storing nothing is the only safe answer.
    if (EditIndex < 0 || EditIndex >= ProgramState.FolderCount())
        return;
    FolderEntry& entry = ProgramState.Folders[EditIndex];
    if (entry.Path != path || entry.IncludeSubfolders != includeSubfolders)
        m_owner->Changed = true;
    entry.Path = path;
    entry.IncludeSubfolders = includeSubfolders;
}
