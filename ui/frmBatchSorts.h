// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ObjectEdit.h"

#include <QDialog>
#include <QList>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QVBoxLayout;

// Edit Sorts: the nine sort groups of many objects at once. Every flag is three-state: set,
// clear, or (the partly marked state it starts in) left as each object has it. Sub-Function
// follows the one Function flag that is set; Build Mode starts at "Leave as is".
class frmBatchSorts : public QDialog
{
    Q_OBJECT
public:
    explicit frmBatchSorts(QWidget* parent = nullptr);
    SortMarks marks() const;

    // --- controls (public so that the tests can drive them) ---
    std::array<QList<QCheckBox*>, 8> chkFlags; // slot 1 refilled as Function changes
    QComboBox* cboBuildMode = nullptr;

private:
    void refreshSubFunctions();

    QVBoxLayout* m_subFunctionBox = nullptr;
    int m_subFunctionRow = -2; // the Function row whose Sub-Functions are shown
};
