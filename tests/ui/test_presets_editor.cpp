// The Preset Editor driven through its real widgets: the list of presets, New / Rename /
// Delete, and edits in the sort lists stored straight into the selected preset.

#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "PresetNames.h"
#include "ScriptedPrompt.h"
#include "frmPresets.h"

#include <QPushButton>
#include <memory>

namespace
{

// Seating + Dining Chairs + Kitchen + Doors; Surfaces + Tables; Lighting + Ceiling Lamps +
// Downtown Miscellaneous + Pool.
QList<Preset> ThreePresets()
{
    return {Preset{"Chairs", {1, 1, 1, 0, 0, 0, 0, 0, 1}},
            Preset{"Tables", {2, 2, 0, 0, 0, 0, 0, 0, 0}},
            Preset{"Lamps", {128, 8, 0, 128, 0, 0, 0, 0, 7}}};
}

class PresetEditor : public ::testing::Test
{
protected:
    void Open(const QList<Preset>& presets)
    {
        EnsureGuiApp();
        ProgramState.Presets = presets;
        editor = std::make_unique<frmPresets>();
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    QTreeWidget* list(int k) const { return editor->lstSort[k]; }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    ProgramStateGuard guard;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    std::unique_ptr<frmPresets> editor;
};

TEST_F(PresetEditor, ShowsThePresetChosenByClickOrArrowKey)
{
    Open(ThreePresets());
    EXPECT_EQ(RowKeys(editor->lstPresets), QStringList({"0#", "1#", "2#"}));
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Chairs"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Dining Chairs"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Doors"}));

    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Lamps"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Ceiling Lamps"}));
    EXPECT_EQ(CheckedTexts(list(3)), QStringList({"Miscellaneous"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Pool"}));

    QTest::keyClick(editor->lstPresets, Qt::Key_Up);
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Surfaces"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"None"}));
    EXPECT_EQ(ProgramState.Presets, ThreePresets()) << "showing stored something";
}

TEST_F(PresetEditor, NewAppendsAnEmptyPresetAndShowsItUntilTheFileIsFull)
{
    QList<Preset> presets = ThreePresets();
    presets.append(QList<Preset>(kMaxPresets - 4, Preset{"p", SortSet{}}));
    Open(presets);
    prompt.queueInput("Tables"); // names already in use are fine
    click(editor->cmdNew);
    prompt.queueInput("One too many");
    click(editor->cmdNew);
    ASSERT_EQ(prompt.asked().size(), 3);
    EXPECT_EQ(prompt.asked()[0].text, "Enter a name for this preset:");
    EXPECT_EQ(prompt.asked()[0].title, "Create Preset");
    EXPECT_EQ(prompt.asked()[2].kind, ScriptedPrompt::Kind::Message);
    ASSERT_EQ(ProgramState.PresetCount(), kMaxPresets);
    EXPECT_EQ(ProgramState.Presets.last(), (Preset{"Tables", SortSet{}}));
    EXPECT_EQ(RowKeys(editor->lstPresets).last(), QString("%1#").arg(kMaxPresets - 1));
    EXPECT_EQ(editor->SelectedPreset(), kMaxPresets - 1);
    EXPECT_TRUE(CheckedTexts(list(0)).isEmpty());
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"None"}));
}

TEST_F(PresetEditor, WithNoPresetEditsDoNothingAndNamesMustFitWindows1252AndTheLengthByte)
{
    Open({});
    click(editor->cmdRename);
    click(editor->cmdDelete);
    ClickCheckBox(list(0), RowByText(list(0), "Seating"));
    ClickRow(list(8), RowByText(list(8), "Pool"));
    EXPECT_TRUE(prompt.asked().isEmpty());

    click(editor->cmdNew); // cancelled: nothing, no message
    prompt.queueInput(QString(256, QLatin1Char('x')));
    click(editor->cmdNew);
    prompt.queueInput(QStringLiteral("Sofa \u4e00"));
    click(editor->cmdNew);
    EXPECT_TRUE(ProgramState.Presets.isEmpty());
    const QStringList messages = prompt.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains("too long"));
    EXPECT_TRUE(messages[1].contains("cannot be stored"));

    // 255 bytes fit; "é" and "€" are one byte each.
    prompt.queueInput(QStringLiteral("\u00e9") + QString(254, QLatin1Char('a')));
    click(editor->cmdNew);
    prompt.queueInput(QStringLiteral("Caf\u00e9 \u20ac"));
    click(editor->cmdNew);
    ASSERT_EQ(ProgramState.PresetCount(), 2);
    EXPECT_EQ(ProgramState.Presets[0].Name, '\xE9' + QByteArray(254, 'a'));
    EXPECT_EQ(ProgramState.Presets[1].Name, QByteArray("Caf\xE9 \x80"));
    EXPECT_EQ(RowTexts(editor->lstPresets).last(), QStringLiteral("Caf\u00e9 \u20ac"));
}

TEST_F(PresetEditor, RenameOffersTheCurrentNameAndStoresTheAnswer)
{
    Open(ThreePresets());
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Tables"));
    prompt.queueInput("Desks");
    click(editor->cmdRename);
    click(editor->cmdRename); // cancelled
    prompt.queueInput(QString(300, QLatin1Char('n')));
    click(editor->cmdRename); // refused

    ASSERT_GE(prompt.asked().size(), 2);
    EXPECT_EQ(prompt.asked()[0].text, "Enter a new name for this preset:");
    EXPECT_EQ(prompt.asked()[0].title, "Create Preset");
    EXPECT_EQ(prompt.asked()[0].defaultText, "Tables");
    EXPECT_EQ(prompt.asked()[1].defaultText, "Desks");
    EXPECT_EQ(ProgramState.Presets[1], (Preset{"Desks", ThreePresets()[1].Sorts}));
    EXPECT_EQ(RowTexts(editor->lstPresets), QStringList({"Chairs", "Desks", "Lamps"}));
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Desks"}));
}

TEST_F(PresetEditor, DeleteAsksThenRenumbersTheRows)
{
    Open(ThreePresets());
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Tables"));
    click(editor->cmdDelete); // unanswered: No
    EXPECT_EQ(ProgramState.Presets, ThreePresets());
    EXPECT_EQ(Questions(prompt),
              QStringList{Question("Are you sure you want to delete this preset?",
                                   PromptIcon::Exclamation)});

    prompt.queueAnswer(PromptAnswer::Yes);
    click(editor->cmdDelete);
    EXPECT_EQ(ProgramState.Presets, QList<Preset>({ThreePresets()[0], ThreePresets()[2]}));
    EXPECT_EQ(RowKeys(editor->lstPresets), QStringList({"0#", "1#"}));
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Chairs"}));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Seating"}));

    // The renumbered row reaches its preset.
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Lamps"));
    ClickCheckBox(list(2), RowByText(list(2), "Study"));
    EXPECT_EQ(ProgramState.Presets[1].Sorts[2], 128);

    // Deleting the last ones leaves the lists showing what they showed.
    prompt.queueAnswer(PromptAnswer::Yes);
    prompt.queueAnswer(PromptAnswer::Yes);
    click(editor->cmdDelete);
    click(editor->cmdDelete);
    EXPECT_EQ(editor->lstPresets->topLevelItemCount(), 0);
    EXPECT_TRUE(ProgramState.Presets.isEmpty());
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Seating"})); // Chairs went last
}

TEST_F(PresetEditor, ClicksStoreIntoTheSelectedPreset)
{
    // Build Mode 9 shows "None"; Downtown 16 has no row.
    QList<Preset> presets = ThreePresets();
    presets[1].Sorts = {1, 4, 0, 16, 0, 0, 0, 0, 9};
    Open(presets);
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Tables"));

    // Build Mode changes only by a click in its list, and only its own slot.
    ClickRow(list(8), RowByText(list(8), "None")); // already selected: still a click
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{1, 4, 0, 16, 0, 0, 0, 0, 0}));
    ClickRow(list(8), RowByText(list(8), "Pool"));
    EXPECT_EQ(ProgramState.Presets[1].Sorts[8], 7);
    QTest::keyClick(list(8), Qt::Key_Up);
    ClickRow(list(2), RowByText(list(2), "Study")); // a click on text checks nothing
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{1, 4, 0, 16, 0, 0, 0, 0, 6}));

    // A check mark stores its own slot (Function also Sub-Function); Downtown 16, which no row
    // shows, stays. A click on a box does not select: Seating stays shown.
    ClickCheckBox(list(0), RowByText(list(0), "Surfaces"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Sofas"}));
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{3, 4, 0, 16, 0, 0, 0, 0, 6}));

    // Clicking the checked Surfaces row shows its group; nothing is stored.
    ProgramState.Presets[1].Sorts[5] = 77;
    ClickRow(list(0), RowByText(list(0), "Surfaces"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"End Tables"}));
    EXPECT_EQ(ProgramState.Presets[1].Sorts[5], 77);

    ClickCheckBox(list(7), RowByText(list(7), "MagiCo"));
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{3, 4, 0, 16, 0, 77, 0, 4, 6}));
    EXPECT_EQ(ProgramState.Presets[0], ThreePresets()[0]);
    EXPECT_EQ(ProgramState.Presets[2], ThreePresets()[2]);
}

TEST_F(PresetEditor, TheChosenPresetAndBuildModeCannotBeUnchosen)
{
    Open(ThreePresets());
    for (QTreeWidget* single : {editor->lstPresets, list(8)}) {
        const QStringList chosen = SelectedTexts(single);
        ASSERT_EQ(chosen.size(), 1);
        ClickRow(single, RowByText(single, chosen[0]), Qt::ControlModifier);
        EXPECT_EQ(SelectedTexts(single), chosen) << single->objectName().toStdString();
        single->setFocus();
        QTest::keyClick(single, Qt::Key_Space, Qt::ControlModifier);
        EXPECT_EQ(SelectedTexts(single), chosen) << single->objectName().toStdString();
    }
    // The preset is still chosen, so a check mark is stored.
    ClickCheckBox(list(2), RowByText(list(2), "Study"));
    EXPECT_EQ(ProgramState.Presets[0].Sorts[2], 1 | 128);
}

} // namespace
