// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryTypes.h"

#include <QList>
#include <QString>

// The History window's words about a planned restore. Files are named as the window shows
// them (below the game folder when they lie there).

// Names the files whose copy is gone, which cannot be restored; empty when every copy is there.
QString CannotRestoreText(const QList<RestoreItem>& plan, const QString& gameFolder);
// The question asked before the restorable files of plan are put back: which files, which of
// them were changed since by another program, which come back from the trash or the history,
// which folders are made again, and which files go (they did not exist before the change).
QString RestoreQuestion(const QList<RestoreItem>& plan, const QString& gameFolder);
