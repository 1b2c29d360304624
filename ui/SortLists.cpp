// SPDX-License-Identifier: GPL-3.0-or-later
#include "SortLists.h"

#include "SortVocabulary.h"
#include "WindowStyle.h"

#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace
{

struct HolderPlace {
    int top;
    int height;
};
constexpr HolderPlace kHolders[3] = {{480, 2055}, {2880, 1335}, {4560, 1335}};
constexpr int kListLefts[3] = {0, 1680, 3360};
constexpr int kLabelLefts[3] = {120, 1800, 3480};
constexpr int kListWidth = 1575;

QTreeWidgetItem* AddSortRow(QTreeWidget* list, const SortRow& row, bool checkable)
{
    QTreeWidgetItem* item = AddKeyedRow(list, QString::number(row.keyNumber) + "#", row.text);
    if (checkable) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    return item;
}

int CheckedSum(const QTreeWidget* list)
{
    int sum = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            sum += LeadingNumber(RowKey(item));
    }
    return sum;
}

void CheckSharedBits(QTreeWidget* list, qint32 value)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        const bool shares = (LeadingNumber(RowKey(item)) & value) != 0;
        item->setCheckState(0, shares ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace

QGroupBox* CreateSortFrame(QWidget* parent, int left, int top, SortLists& lstSort,
                           SortHolders& picSort)
{
    QGroupBox* frame = MakeFrame(parent, QStringLiteral("Catalog Sorts:"), left, top, 5175, 6015);
    frame->setObjectName(QStringLiteral("fraSorts"));
    for (int h = 0; h < 3; ++h) {
        auto* holder = new QWidget(frame);
        holder->setObjectName(QStringLiteral("picSort%1").arg(h));
        holder->setAutoFillBackground(true);
        PlaceTwips(holder, 120, kHolders[h].top, 4935, kHolders[h].height);
        picSort[h] = holder;
    }
    for (int k = 0; k < 9; ++k) {
        const int h = k / 3;
        const int column = k % 3;
        QTreeWidget* list = MakeListView(picSort[h], {QStringLiteral("Sort")}, kListLefts[column],
                                         0, kListWidth, kHolders[h].height, k == 8);
        list->setObjectName(QStringLiteral("lstSort%1").arg(k));
        // The label above says what the list holds; the header would only take rows away.
        list->setHeaderHidden(true);
        lstSort[k] = list;

        auto* label = new QLabel(SortCaption(k), frame);
        label->setObjectName(QStringLiteral("lblSort%1").arg(k));
        PlaceTwips(label, kLabelLefts[column], kHolders[h].top - 240, kListWidth, 255);
    }
    return frame;
}

void SetupSortLists(const SortLists& lstSort)
{
    for (int k = 0; k < 9; ++k) {
        QTreeWidget* list = lstSort[k];
        const QSignalBlocker blocker(list);
        list->setColumnWidth(0, list->width() - Twips(k == 8 ? 270 : 60));
        list->clear();
        if (k == 1)
            continue;
        for (const SortRow& row : SortRows(k))
            AddSortRow(list, row, k != 8);
    }
}

void RefreshSubFunctionList(QTreeWidget* subFunction, QTreeWidget* function)
{
    const QSignalBlocker blocker(subFunction);
    const int remembered = CheckedSum(subFunction);

    int chosen = -1;
    for (int i = 0; i < function->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = function->topLevelItem(i);
        if (item->checkState(0) != Qt::Checked)
            continue;
        if (item->isSelected()) {
            chosen = i;
            break;
        }
        if (chosen < 0)
            chosen = i;
    }

    subFunction->clear();
    if (chosen >= 0) {
        for (const SortRow& row : SubFunctionRows(chosen))
            AddSortRow(subFunction, row, true);
    }
    CheckSharedBits(subFunction, remembered);
}

void ShowSortSet(const SortLists& lstSort, const SortHolders& picSort, const SortSet& sorts)
{
    for (int i = 0; i < 8; ++i) {
        if (i == 1)
            RefreshSubFunctionList(lstSort[1], lstSort[0]);
        const QSignalBlocker blocker(lstSort[i]);
        CheckSharedBits(lstSort[i], sorts[i]);
    }

    QTreeWidget* buildMode = lstSort[8];
    {
        const QSignalBlocker blocker(buildMode);
        const int slot8 = sorts[8];
        const int row = (slot8 >= 1 && slot8 <= 7) ? slot8 : 0;
        QTreeWidgetItem* item = buildMode->topLevelItem(row);
        buildMode->clearSelection();
        if (item) {
            buildMode->setCurrentItem(item);
            item->setSelected(true);
            buildMode->scrollToItem(item);
        }
    }
    for (QWidget* holder : picSort) {
        if (holder)
            holder->update();
    }
}

SortSet ReadSortsFromLists(const SortLists& lstSort)
{
    SortSet sorts{};
    for (int i = 0; i < 8; ++i)
        sorts[i] = CheckedSum(lstSort[i]);
    const QList<QTreeWidgetItem*> selected = lstSort[8]->selectedItems();
    sorts[8] = selected.isEmpty() ? 0 : lstSort[8]->indexOfTopLevelItem(selected.first());
    return sorts;
}
