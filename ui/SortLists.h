// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <array>

class QGroupBox;
class QTreeWidget;
class QWidget;

// The nine sort lists (index = SortSet slot) that the main window and the Preset Editor show.
using SortLists = std::array<QTreeWidget*, 9>;
using SortHolders = std::array<QWidget*, 3>;

// Builds the "Catalog Sorts:" frame with its three holders, nine labelled lists, at the given
// place (twips) of parent. Lists 0-7 have check boxes; list 8 is single-choice.
QGroupBox* CreateSortFrame(QWidget* parent, int left, int top, SortLists& lstSort,
                           SortHolders& picSort);
// Fills the lists with the vocabulary (list 1 stays empty).
void SetupSortLists(const SortLists& lstSort);
// Rebuilds the Sub-Function rows from the Function list, keeping the Sub-Function bits.
void RefreshSubFunctionList(QTreeWidget* subFunction, QTreeWidget* function);
// Marks the lists from a sort set (program changes: no handlers run).
void ShowSortSet(const SortLists& lstSort, const SortHolders& picSort, const SortSet& sorts);
// Slots 0-7: sums of the checked rows' key values; slot 8: selected Build Mode row - 1
// (0 when none is selected).
SortSet ReadSortsFromLists(const SortLists& lstSort);
