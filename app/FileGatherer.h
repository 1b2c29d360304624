// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <QList>
#include <QString>

struct ObjectFile {
    QString FileName; // name without folder
    QString FullPath;
};

// The "*.iff" files (any case) of the folder list, in listing order: entries in list order,
// skipping a folder that does not exist and one whose path lies below another entry that
// includes subfolders (unless a hidden folder, which that walk passes over, lies between);
// within a folder, files by name, then subfolders by name. Subfolders reached through links
// are walked at most once.
QList<ObjectFile> GatherObjectFiles(const QList<FolderEntry>& folders);
