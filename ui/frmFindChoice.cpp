// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindTableModel.h"
#include "frmFind.h"

#include <QItemSelectionModel>
#include <QTableView>

QSet<frmFind::RowKey> frmFind::chosenRows(RowKey* current) const
{
    QSet<RowKey> chosen;
    for (const QModelIndex& index : tblResults->selectionModel()->selectedRows()) {
        if (const FindRow* row = model->rowAt(index.row()))
            chosen.insert({row->wholePath, row->objdId});
    }
    if (current) {
        const FindRow* row = model->rowAt(currentRow());
        *current = row ? RowKey{row->wholePath, row->objdId} : RowKey{};
    }
    return chosen;
}

void frmFind::chooseRows(const QSet<RowKey>& rows, const RowKey& current)
{
    QItemSelection chosen;
    for (int r = 0; r < model->rowCount(); ++r) {
        const FindRow* row = model->rowAt(r);
        const RowKey key{row->wholePath, row->objdId};
        if (key == current)
            tblResults->selectionModel()->setCurrentIndex(model->index(r, 1),
                                                          QItemSelectionModel::NoUpdate);
        if (rows.contains(key))
            chosen.select(model->index(r, 0), model->index(r, model->columnCount() - 1));
    }
    if (!rows.isEmpty())
        tblResults->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
}
