// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// Runs onClick when the person clicks a row or chooses one with the keyboard. Program
// changes made under a QSignalBlocker do not count. A mouse click that also changes the
// selection may run onClick twice for the same row, so handlers must be repeatable.
void OnRowClick(QTreeWidget* list, std::function<void(QTreeWidgetItem*)> onClick);
// Runs onCheck when the person checks or unchecks a row.
void OnRowCheck(QTreeWidget* list, std::function<void(QTreeWidgetItem*)> onCheck);
