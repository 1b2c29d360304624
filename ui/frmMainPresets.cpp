// SPDX-License-Identifier: GPL-3.0-or-later
// The preset list of the main window.
#include "Cp1252.h"
#include "PresetNames.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "WindowStyle.h"
#include "frmMain.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace
{

QString PresetKey(int index)
{
    return QString::number(index) + QLatin1Char('#');
}

} // namespace

void frmMain::Form_Activate()
{
    const QSignalBlocker blocker(lstPresets);
    lstPresets->clear();
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < ProgramState.PresetCount(); ++i) {
        auto* row = new QTreeWidgetItem;
        row->setText(0, DecodeCp1252(ProgramState.Presets[i].Name));
        row->setData(0, Qt::UserRole, PresetKey(i));
        rows.append(row);
    }
    lstPresets->addTopLevelItems(rows);
    // Only marked: nothing is applied until the person clicks a preset.
    if (QTreeWidgetItem* first = lstPresets->topLevelItem(0)) {
        lstPresets->setCurrentItem(first);
        first->setSelected(true);
    }
}

void frmMain::lstPresets_ItemClick(QTreeWidgetItem* Item)
{
    if (!Item)
        return;
    const int index = LeadingNumber(RowKey(Item));
    if (index < 0 || index >= ProgramState.PresetCount())
        return;
    ShowSortSet(lstSort, picSort, ProgramState.Presets[index].Sorts);
    // A preset sets every slot, also to "None" over a Build Mode that no row shows.
    m_sortTouched.fill(true);
}

void frmMain::cmdPresetNew_Click()
{
    const QString typed = CurrentPrompt().inputBox(QStringLiteral("Enter a name for this preset:"),
                                                   QStringLiteral("Create Preset"), QString());
    if (typed.isEmpty())
        return;
    const std::optional<QByteArray> name = AcceptPresetName(typed);
    if (!name)
        return;
    if (!RoomForAnotherPreset())
        return;
    Preset preset;
    preset.Name = *name;
    preset.Sorts = ReadSortsFromLists(lstSort);
    const int index = ProgramState.PresetCount();
    ProgramState.Presets.append(preset);
    const QSignalBlocker blocker(lstPresets);
    AddKeyedRow(lstPresets, PresetKey(index), DecodeCp1252(preset.Name));
}
