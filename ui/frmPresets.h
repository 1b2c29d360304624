// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SortLists.h"

#include <QDialog>

class QGroupBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Preset Editor": creates, renames, deletes and edits the presets of ProgramState. Every
// change goes straight into the preset list; there is nothing to cancel.
class frmPresets : public QDialog
{
    Q_OBJECT

public:
    explicit frmPresets(QWidget* parent = nullptr);

    SortLists lstSort{};
    SortHolders picSort{};
    QGroupBox* fraSorts = nullptr;
    QGroupBox* fraPresets = nullptr;
    QTreeWidget* lstPresets = nullptr;
    QPushButton* cmdRename = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdNew = nullptr;
    QGroupBox* fraOK = nullptr;
    QPushButton* cmdOK = nullptr;

    void FillPresetList();
    void lstPresets_ItemClick(QTreeWidgetItem* item);
    void lstSort_ItemCheck(int index, QTreeWidgetItem* item);
    void lstSort_ItemClick(int index, QTreeWidgetItem* item);
    void cmdNew_Click();
    void cmdRename_Click();
    void cmdDelete_Click();
    void cmdOK_Click();

    // Position in ProgramState.Presets of the selected row's preset; -1 when there is none.
    int SelectedPreset() const;

private:
    void ShowPreset(int index);
    void RefreshSubFunctions();
};
