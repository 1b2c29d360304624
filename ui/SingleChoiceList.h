// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

// A list of which exactly one row is chosen while it has rows: a person cannot take the choice
// away (Ctrl+click, Ctrl+Space, a click below the last row), only move it to another row.
// The program itself still selects and clears freely.
class SingleChoiceList : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};
