// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderDialog.h"

// "Add Folder": appends a new entry to the folder list.
class frmAddFolder : public FolderDialog
{
    Q_OBJECT

public:
    explicit frmAddFolder(frmFolders* owner);

protected:
    int IndexToIgnore() const override { return -1; }
    void Store(const QString& path, bool includeSubfolders) override;
};
