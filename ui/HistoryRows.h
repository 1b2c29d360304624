// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryTypes.h"

#include <QList>
#include <QString>
#include <QtCore/qnamespace.h>

class QTreeWidget;
class QTreeWidgetItem;

// The rows of the History window: time (local), file and what changed, newest first. The
// changes of one batch share a row; a batch of several changes expands into them.

enum HistoryColumn { kTimeColumn, kFileColumn, kSummaryColumn };
// Item data of column 0: a change's ID (on the rows of single changes), a batch's ID (on a row
// that expands into its changes).
inline constexpr int kChangeIdRole = Qt::UserRole;
inline constexpr int kBatchRole = Qt::UserRole + 1;

// The rows for changes given newest first.
QList<QTreeWidgetItem*> MakeHistoryRows(const QList<HistoryChange>& changes,
                                        const QString& gameFolder);
// Shows the rows that hold every typed word (any case) in their time, file or summary: a batch
// shows when it or one of its changes does, with the changes that do (all when it does).
// Returns how many rows show at the top.
int FilterHistoryRows(QTreeWidget* list, const QString& typed);
