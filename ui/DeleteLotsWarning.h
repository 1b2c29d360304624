// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTreeWidget;
class QWidget;

// Before files of the main window's list go to the trash: when objects of theirs stand on the
// player's lots and no other copy of their GUIDs remains (in the other listed files or the
// game's archives), asks, naming those lots, whether to delete them all the same. The lots and
// files are read off the interface thread while a progress dialog shows. True to go on (also
// when no lot uses the files).
bool ConfirmLotsLoseObjects(QWidget* parent, const QStringList& paths,
                            const QTreeWidget* listedFiles);
