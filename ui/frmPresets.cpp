// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmPresets.h"

#include "Cp1252.h"
#include "PresetNames.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "RowSignals.h"
#include "WindowStyle.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <memory>
#include <vector>

namespace
{

// Marks made by the program must not reach the editing handlers.
std::vector<std::unique_ptr<QSignalBlocker>> BlockAll(const SortLists& lists)
{
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QTreeWidget* list : lists)
        blockers.push_back(std::make_unique<QSignalBlocker>(list));
    return blockers;
}

QString PresetKey(int index)
{
    return QString::number(index) + QLatin1Char('#');
}

} // namespace

frmPresets::frmPresets(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Preset Editor"));
    setModal(true);
    setFixedSize(Twips(8055), Twips(6255));

    fraSorts = CreateSortFrame(this, 120, 120, lstSort, picSort);

    fraPresets = MakeFrame(this, QStringLiteral("Presets:"), 5520, 120, 2415, 5175);
    lstPresets = MakeListView(fraPresets, {QStringLiteral("Name")}, 120, 300, 2175, 3375, true);
    lstPresets->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdRename = new QPushButton(QStringLiteral("Rename"), fraPresets);
    PlaceTwips(cmdRename, 120, 3780, 2175, 375);
    cmdDelete = new QPushButton(QStringLiteral("Delete"), fraPresets);
    PlaceTwips(cmdDelete, 120, 4230, 2175, 375);
    cmdNew = new QPushButton(QStringLiteral("New"), fraPresets);
    PlaceTwips(cmdNew, 120, 4680, 2175, 375);

    fraOK = MakeFrame(this, QString(), 5520, 5400, 2415, 735);
    cmdOK = new QPushButton(QStringLiteral("OK"), fraOK);
    PlaceTwips(cmdOK, 120, 240, 2175, 375);
    cmdOK->setDefault(true);

    ApplyWindowStyle(this);

    // Loading the window.
    SetupSortLists(lstSort);
    lstPresets->setColumnWidth(0, Twips(2175 - 270));

    OnRowClick(lstPresets, [this](QTreeWidgetItem* item) { lstPresets_ItemClick(item); });
    for (int k = 0; k < 9; ++k) {
        OnRowCheck(lstSort[k], [this, k](QTreeWidgetItem* item) { lstSort_ItemCheck(k, item); });
        OnRowClick(lstSort[k], [this, k](QTreeWidgetItem* item) { lstSort_ItemClick(k, item); });
    }
    connect(cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(cmdRename, &QPushButton::clicked, this, [this] { cmdRename_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    FillPresetList();
}

int frmPresets::SelectedPreset() const
{
    const QList<QTreeWidgetItem*> selected = lstPresets->selectedItems();
    if (selected.isEmpty())
        return -1;
    const int index = LeadingNumber(RowKey(selected.first()));
    return index >= 0 && index < ProgramState.PresetCount() ? index : -1;
}

void frmPresets::FillPresetList()
{
    {
        const QSignalBlocker blocker(lstPresets);
        lstPresets->clear();
        for (int i = 0; i < ProgramState.PresetCount(); ++i)
            AddKeyedRow(lstPresets, PresetKey(i), DecodeCp1252(ProgramState.Presets[i].Name));
        if (lstPresets->topLevelItemCount() == 0)
            return;
        lstPresets->setCurrentItem(lstPresets->topLevelItem(0));
    }
    lstPresets_ItemClick(lstPresets->topLevelItem(0));
}

void frmPresets::lstPresets_ItemClick(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const int index = LeadingNumber(RowKey(item));
    if (index < 0 || index >= ProgramState.PresetCount())
        return;
    ShowPreset(index);
}

void frmPresets::ShowPreset(int index)
{
    const auto blockers = BlockAll(lstSort);
    ShowSortSet(lstSort, picSort, ProgramState.Presets[index].Sorts);
}

void frmPresets::RefreshSubFunctions()
{
    const auto blockers = BlockAll(lstSort);
    RefreshSubFunctionList(lstSort[1], lstSort[0]);
}

void frmPresets::lstSort_ItemCheck(int index, QTreeWidgetItem* item)
{
    Q_UNUSED(item);
    if (index == 0)
        RefreshSubFunctions();
    const int preset = SelectedPreset();
    if (preset < 0)
        return;
    const SortSet read = ReadSortsFromLists(lstSort);
    SortSet& stored = ProgramState.Presets[preset].Sorts;
    // Only the list checked (and the Sub-Function rows that follow Function) is stored: another
    // slot may hold bits that no row shows, and looking at them must not drop them. Build Mode
    // changes only by a click in its own list.
    stored[index] = read[index];
    if (index == 0)
        stored[1] = read[1];
}

void frmPresets::lstSort_ItemClick(int index, QTreeWidgetItem* item)
{
    Q_UNUSED(item);
    if (index == 0) {
        RefreshSubFunctions();
        return;
    }
    if (index != 8)
        return;
    const int preset = SelectedPreset();
    if (preset < 0)
        return;
    ProgramState.Presets[preset].Sorts[8] = ReadSortsFromLists(lstSort)[8];
}

void frmPresets::cmdNew_Click()
{
    const QString typed = CurrentPrompt().inputBox(QStringLiteral("Enter a name for this preset:"),
                                                   QStringLiteral("Create Preset"), QString());
    const std::optional<QByteArray> name = AcceptPresetName(typed);
    if (!name)
        return;
    if (!RoomForAnotherPreset())
        return;
    const int index = ProgramState.PresetCount();
    ProgramState.Presets.append(Preset{*name, SortSet{}});
    QTreeWidgetItem* row = nullptr;
    {
        const QSignalBlocker blocker(lstPresets);
        row = AddKeyedRow(lstPresets, PresetKey(index), DecodeCp1252(*name));
        lstPresets->setCurrentItem(row);
        lstPresets->scrollToItem(row);
    }
    lstPresets_ItemClick(row);
}

void frmPresets::cmdRename_Click()
{
    const int preset = SelectedPreset();
    if (preset < 0)
        return;
    const QString typed = CurrentPrompt().inputBox(
        QStringLiteral("Enter a new name for this preset:"), QStringLiteral("Create Preset"),
        DecodeCp1252(ProgramState.Presets[preset].Name));
    const std::optional<QByteArray> name = AcceptPresetName(typed);
    if (!name)
        return;
    ProgramState.Presets[preset].Name = *name;
    if (QTreeWidgetItem* row = FindRowByKey(lstPresets, PresetKey(preset))) {
        const QSignalBlocker blocker(lstPresets);
        row->setText(0, DecodeCp1252(*name));
    }
}

void frmPresets::cmdDelete_Click()
{
    if (SelectedPreset() < 0)
        return;
    const PromptAnswer answer = CurrentPrompt().message(
        QStringLiteral("Are you sure you want to delete this preset?"),
        QString::fromLatin1(kProgramName), PromptIcon::Exclamation, PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes)
        return;
    // The selection cannot change while the question is open, but read it again anyway.
    const int preset = SelectedPreset();
    if (preset < 0)
        return;
    ProgramState.Presets.removeAt(preset);
    FillPresetList();
}

void frmPresets::cmdOK_Click()
{
    accept();
}
