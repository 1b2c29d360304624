// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmBatchSorts.h"

#include "SortVocabulary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace
{

QCheckBox* FlagBox(const SortRow& row, QWidget* parent)
{
    auto* box = new QCheckBox(row.text, parent);
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    box->setProperty("flag", row.value);
    box->setToolTip(QStringLiteral("Marked: set. Empty: clear. Partly marked: leave as each "
                                   "object has it."));
    return box;
}

} // namespace

frmBatchSorts::frmBatchSorts(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Edit Sorts"));
    auto* grid = new QGridLayout;
    for (int slot = 0; slot < 9; ++slot) {
        auto* group = new QGroupBox(SortCaption(slot).chopped(1), this);
        auto* column = new QVBoxLayout(group);
        if (slot == 8) {
            cboBuildMode = new QComboBox(group);
            cboBuildMode->addItem(QStringLiteral("Leave as is"), -1);
            for (const SortRow& row : SortRows(8))
                cboBuildMode->addItem(row.text, row.value);
            column->addWidget(cboBuildMode);
        } else if (slot == 1) {
            m_subFunctionBox = column;
        } else {
            for (const SortRow& row : SortRows(slot)) {
                QCheckBox* box = FlagBox(row, group);
                chkFlags[slot] << box;
                column->addWidget(box);
                if (slot == 0)
                    connect(box, &QCheckBox::stateChanged, this, [this] { refreshSubFunctions(); });
            }
        }
        column->addStretch(1);
        grid->addWidget(group, slot / 3, slot % 3);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Only what you mark changes: a partly marked flag "
                                                "stays as each object has it."),
                                 this));
    layout->addLayout(grid);
    layout->addWidget(buttons);
    refreshSubFunctions();
}

void frmBatchSorts::refreshSubFunctions()
{
    int chosen = -1;
    for (int row = 0; row < chkFlags[0].size(); ++row) {
        if (chkFlags[0][row]->checkState() == Qt::Checked)
            chosen = chosen == -1 ? row : -3; // more than one: no list
    }
    if (chosen == m_subFunctionRow)
        return;
    m_subFunctionRow = chosen;
    qDeleteAll(chkFlags[1]);
    chkFlags[1].clear();
    while (QLayoutItem* item = m_subFunctionBox->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    auto* group = m_subFunctionBox->parentWidget();
    if (chosen < 0) {
        auto* hint =
            new QLabel(QStringLiteral("Set one Function to mark its Sub-Functions."), group);
        hint->setWordWrap(true);
        m_subFunctionBox->addWidget(hint);
    }
    for (const SortRow& row : SubFunctionRows(chosen)) {
        QCheckBox* box = FlagBox(row, group);
        chkFlags[1] << box;
        m_subFunctionBox->addWidget(box);
    }
    m_subFunctionBox->addStretch(1);
}

SortMarks frmBatchSorts::marks() const
{
    SortMarks marks;
    for (int slot = 0; slot < 8; ++slot) {
        for (const QCheckBox* box : chkFlags[slot]) {
            const int flag = box->property("flag").toInt();
            if (box->checkState() == Qt::Checked)
                marks.set[slot] |= flag;
            else if (box->checkState() == Qt::Unchecked)
                marks.clear[slot] |= flag;
        }
    }
    const int buildMode = cboBuildMode->currentData().toInt();
    if (buildMode >= 0)
        marks.buildMode = buildMode;
    return marks;
}
