// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowSignals.h"

#include <QTreeWidget>

void OnRowClick(QTreeWidget* list, std::function<void(QTreeWidgetItem*)> onClick)
{
    // A click whose choice was taken back at once (the selection put back by the handler run
    // on the press) is not a second choice.
    QObject::connect(list, &QTreeWidget::itemClicked, list, [onClick](QTreeWidgetItem* item, int) {
        if (item && item->isSelected())
            onClick(item);
    });
    // Keyboard choices arrive only as selection changes.
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, list, [list, onClick]() {
        const QList<QTreeWidgetItem*> chosen = list->selectedItems();
        if (!chosen.isEmpty())
            onClick(chosen.first());
    });
}

void OnRowCheck(QTreeWidget* list, std::function<void(QTreeWidgetItem*)> onCheck)
{
    // itemChanged also fires for other data of the row; the handlers only read check marks,
    // so running them again is harmless.
    QObject::connect(list, &QTreeWidget::itemChanged, list,
                     [onCheck](QTreeWidgetItem* item, int column) {
                         if (item && column == 0 && (item->flags() & Qt::ItemIsUserCheckable))
                             onCheck(item);
                     });
}
