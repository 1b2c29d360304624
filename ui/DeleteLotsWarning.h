// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTreeWidget;
class QWidget;

// Before a file of the main window's list goes to the trash: when objects of it stand on the
// player's lots and no other copy of their GUIDs remains (in the listed files or the game's
// archives), asks, naming those lots, whether to delete it all the same. The lots and files are
// read off the interface thread while a progress dialog shows. True to go on (also when no lot
// uses the file).
bool ConfirmLotsLoseObjects(QWidget* parent, const QString& path, const QTreeWidget* listedFiles);
