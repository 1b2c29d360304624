// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderDialog.h"

// "Edit Folder": changes the entry of the row selected in Modify Folders.
class frmEditFolder : public FolderDialog
{
    Q_OBJECT

public:
    explicit frmEditFolder(frmFolders* owner);

    int EditIndex = -1;

protected:
    int IndexToIgnore() const override { return EditIndex; }
    void Store(const QString& path, bool includeSubfolders) override;
};
