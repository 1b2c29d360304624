// SPDX-License-Identifier: GPL-3.0-or-later
// The Preset Editor: New, Rename, Delete, and sort edits stored straight into the chosen preset.

#include "MainWindowHarness.h"
#include "PresetNames.h"
#include "frmPresets.h"

namespace
{

// Seating + Dining Chairs + Kitchen + Doors; Seating + Sofas, Downtown 16 (which no row shows)
// and Build Mode 9 (shown as "None"); Lighting + Ceiling Lamps + Downtown Miscellaneous + Pool.
const QList<Preset> kPresets = {Preset{"Chairs", {1, 1, 1, 0, 0, 0, 0, 0, 1}},
                                Preset{"Sofas", {1, 4, 0, 16, 0, 0, 0, 0, 9}},
                                Preset{"Lamps", {128, 8, 0, 128, 0, 0, 0, 0, 7}}};

class PresetEditor : public MainWindowHarness
{
protected:
    void Open(const QList<Preset>& presets)
    {
        ProgramState.Presets = presets;
        editor = std::make_unique<frmPresets>();
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        EXPECT_EQ(QApplication::activeModalWidget(), editor.get()) << "the main window waits";
    }
    QTreeWidget* list(int k) const { return editor->lstSort[k]; }
    void choose(QTreeWidget* list, const QString& row) { ClickRow(list, RowByText(list, row)); }
    // The preset rows, then the rows each sort list checks (Build Mode: selects).
    QString Seen() const
    {
        QStringList seen{Listed(editor->lstPresets)};
        for (int k = 0; k < 9; ++k) {
            const QStringList rows = k == 8 ? SelectedTexts(list(k)) : CheckedTexts(list(k));
            if (!rows.isEmpty())
                seen << QString::number(k) + ":" + rows.join('+');
        }
        return seen.join(' ');
    }

    std::unique_ptr<frmPresets> editor;
};

TEST_F(PresetEditor, ShowsThePresetChosenAndStoresEachClickInItsOwnSlot)
{
    Open(kPresets);
    // Neither the chosen preset nor Build Mode can be unchosen; a check mark still reaches it.
    ClickRow(editor->lstPresets, editor->lstPresets->topLevelItem(0), Qt::ControlModifier);
    list(8)->setFocus();
    QTest::keyClick(list(8), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(Seen(), "*0#Chairs|1#Sofas|2#Lamps 0:Seating 1:Dining Chairs 2:Kitchen 8:Doors");
    ClickCheckBox(list(2), RowByText(list(2), "Study"));
    choose(list(8), "Pool");
    const Preset chairs{"Chairs", {1, 1, 129, 0, 0, 0, 0, 0, 7}};
    EXPECT_EQ(ProgramState.Presets[0], chairs);
    choose(editor->lstPresets, "Lamps");
    EXPECT_EQ(Seen(),
              "0#Chairs|1#Sofas|*2#Lamps 0:Lighting 1:Ceiling Lamps 3:Miscellaneous 8:Pool");
    QTest::keyClick(editor->lstPresets, Qt::Key_Up);
    EXPECT_EQ(Seen(), "0#Chairs|*1#Sofas|2#Lamps 0:Seating 1:Sofas 8:None");
    EXPECT_EQ(ProgramState.Presets, QList<Preset>({chairs, kPresets[1], kPresets[2]}))
        << "showing stored something";

    // Build Mode changes only by a click in its list (a click on text checks nothing).
    choose(list(8), "None"); // already selected: still a click
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{1, 4, 0, 16, 0, 0, 0, 0, 0}));
    choose(list(8), "Pool");
    QTest::keyClick(list(8), Qt::Key_Up); // the keyboard too
    choose(list(2), "Study");
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{1, 4, 0, 16, 0, 0, 0, 0, 6}));

    // A check mark stores its slot (Function also Sub-Function) and does not select; a click
    // on the checked Surfaces row shows its group and stores nothing.
    ClickCheckBox(list(0), RowByText(list(0), "Surfaces"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Sofas"}));
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{3, 4, 0, 16, 0, 0, 0, 0, 6}));
    ProgramState.Presets[1].Sorts[5] = 77;
    choose(list(0), "Surfaces");
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"End Tables"}));
    ClickCheckBox(list(7), RowByText(list(7), "MagiCo"));
    EXPECT_EQ(ProgramState.Presets,
              QList<Preset>({chairs, {"Sofas", {3, 4, 0, 16, 0, 77, 0, 4, 6}}, kPresets[2]}));
}

TEST_F(PresetEditor, RenameOffersTheNameAndDeleteAsksThenRenumbersTheRows)
{
    Open(kPresets);
    choose(editor->lstPresets, "Sofas");
    prompt.queueInput("Desks");
    editor->cmdRename->click();
    editor->cmdRename->click(); // cancelled
    editor->cmdDelete->click(); // unanswered: No
    ASSERT_EQ(prompt.asked().size(), 3);
    const ScriptedPrompt::Asked& rename = prompt.asked()[0];
    EXPECT_EQ(rename.title + "|" + rename.text + "|" + rename.defaultText,
              "Create Preset|Enter a new name for this preset:|Sofas");
    EXPECT_EQ(Questions(prompt),
              QStringList{Question("Are you sure you want to delete this preset?",
                                   PromptIcon::Exclamation)});
    EXPECT_EQ(ProgramState.Presets[1], (Preset{"Desks", kPresets[1].Sorts}));
    EXPECT_EQ(Listed(editor->lstPresets), "0#Chairs|*1#Desks|2#Lamps");

    prompt.queueAnswer(PromptAnswer::Yes);
    editor->cmdDelete->click();
    EXPECT_EQ(ProgramState.Presets, QList<Preset>({kPresets[0], kPresets[2]}));
    EXPECT_EQ(Seen(), "*0#Chairs|1#Lamps 0:Seating 1:Dining Chairs 2:Kitchen 8:Doors");
    prompt.queueInput("Seats");
    editor->cmdRename->click(); // the first preset is renamed too
    EXPECT_EQ(ProgramState.Presets[0], (Preset{"Seats", kPresets[0].Sorts}));
    // The renumbered row reaches its preset; deleting the rest leaves the lists as they were.
    choose(editor->lstPresets, "Lamps");
    ClickCheckBox(list(2), RowByText(list(2), "Study"));
    EXPECT_EQ(ProgramState.Presets[1].Sorts[2], 128);
    prompt.queueAnswer(PromptAnswer::Yes);
    prompt.queueAnswer(PromptAnswer::Yes);
    editor->cmdDelete->click();
    editor->cmdDelete->click();
    EXPECT_EQ(Seen(), " 0:Seating 1:Dining Chairs 2:Kitchen 8:Doors"); // Chairs went last

    // With no preset, edits do nothing and ask nothing.
    prompt.clearAsked();
    editor->cmdRename->click();
    editor->cmdDelete->click();
    ClickCheckBox(list(0), RowByText(list(0), "Seating"));
    choose(list(8), "Pool");
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_TRUE(ProgramState.Presets.isEmpty());
}

TEST_F(PresetEditor, NewAppendsAnEmptyPresetWhoseNameFitsWindows1252AndTheLengthByte)
{
    Open(QList<Preset>(kMaxPresets - 2, Preset{"p", SortSet{}}));
    // Cancelled, too long, not Windows-1252; 255 bytes ("é" is one), "€" (one byte), one too many.
    for (const QString& typed : {QString(), QString(256, 'x'), QStringLiteral("Sofa \u4e00"),
                                 QStringLiteral("\u00e9") + QString(254, 'a'),
                                 QStringLiteral("Caf\u00e9 \u20ac"), QString("One too many")}) {
        prompt.queueInput(typed);
        editor->cmdNew->click();
    }
    EXPECT_EQ(prompt.asked()[0].title + "|" + prompt.asked()[0].text,
              "Create Preset|Enter a name for this preset:");
    EXPECT_EQ(prompt.messages(),
              QStringList({"This name is too long. A preset name can be at most 255 characters "
                           "long.",
                           "This name holds characters that cannot be stored in a preset name. "
                           "Please use other characters.",
                           "No more presets can be made. Please delete one first."}));
    EXPECT_EQ(ProgramState.Presets.mid(kMaxPresets - 2),
              QList<Preset>({{'\xE9' + QByteArray(254, 'a'), {}}, {"Caf\xE9 \x80", {}}}));
    EXPECT_EQ(Seen().section('|', -2), QStringLiteral("32765#\u00e9") + QString(254, 'a') +
                                           "|*32766#Caf\u00e9 \u20ac 8:None");
}

} // namespace
