// The Preset Editor driven through its real widgets: the list of presets, New / Rename /
// Delete, and edits in the sort lists stored straight into the selected preset.

#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "frmPresets.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

static bool operator==(const Preset& a, const Preset& b)
{
    return a.Name == b.Name && a.Sorts == b.Sorts;
}

namespace
{

Preset MakePreset(const char* name, SortSet sorts)
{
    return Preset{QByteArray(name), sorts};
}

class PresetEditor : public ::testing::Test
{
protected:
    void SetUp() override { EnsureGuiApp(); }

    // Opens the editor over the presets given.
    void Open(const QList<Preset>& presets)
    {
        ProgramState.Presets = presets;
        editor = std::make_unique<frmPresets>();
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    QTreeWidget* list(int k) const { return editor->lstSort[k]; }

    ProgramStateGuard guard;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    std::unique_ptr<frmPresets> editor;
};

// Three presets: Seating + Dining Chairs + Kitchen + Doors; Surfaces + Tables; Lighting.
QList<Preset> ThreePresets()
{
    return {MakePreset("Chairs", {1, 1, 1, 0, 0, 0, 0, 0, 1}),
            MakePreset("Tables", {2, 2, 0, 0, 0, 0, 0, 0, 0}),
            MakePreset("Lamps", {128, 8, 0, 128, 0, 0, 0, 0, 7})};
}

TEST_F(PresetEditor, OpensWithTheFirstPresetShown)
{
    Open(ThreePresets());
    EXPECT_EQ(editor->windowTitle(), "Preset Editor");
    EXPECT_EQ(RowTexts(editor->lstPresets), QStringList({"Chairs", "Tables", "Lamps"}));
    EXPECT_EQ(RowKeys(editor->lstPresets), QStringList({"0#", "1#", "2#"}));
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Chairs"}));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Seating"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Dining Chairs"}));
    EXPECT_EQ(CheckedTexts(list(2)), QStringList({"Kitchen"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Doors"}));
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(PresetEditor, ClickingAndArrowKeysShowTheChosenPreset)
{
    Open(ThreePresets());
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Lamps"));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Lighting"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Ceiling Lamps"}));
    EXPECT_EQ(CheckedTexts(list(3)), QStringList({"Miscellaneous"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Pool"}));

    editor->lstPresets->setFocus();
    QTest::keyClick(editor->lstPresets, Qt::Key_Up);
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Tables"}));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Surfaces"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Tables"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"None"}));
    // Only showing: nothing was stored.
    EXPECT_EQ(ProgramState.Presets, ThreePresets());
}

TEST_F(PresetEditor, WithNoPresetNothingIsShownAndNothingChanges)
{
    Open({});
    EXPECT_EQ(editor->lstPresets->topLevelItemCount(), 0);
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(CheckedTexts(list(k)).isEmpty()) << "list " << k;

    QTest::mouseClick(editor->cmdRename, Qt::LeftButton);
    QTest::mouseClick(editor->cmdDelete, Qt::LeftButton);
    ClickCheckBox(list(0), RowByText(list(0), "Seating"));
    ClickRow(list(8), RowByText(list(8), "Pool"));
    EXPECT_TRUE(ProgramState.Presets.isEmpty());
    EXPECT_TRUE(prompt.asked().isEmpty()) << "Rename and Delete asked with no preset";
    // The Sub-Function rows still follow the Function list.
    EXPECT_EQ(list(1)->topLevelItemCount(), 5);
}

TEST_F(PresetEditor, NewAddsAnEmptyPresetAtTheEndAndShowsIt)
{
    Open(ThreePresets());
    prompt.queueInput("Sofas");
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);

    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].kind, ScriptedPrompt::Kind::Input);
    EXPECT_EQ(prompt.asked()[0].text, "Enter a name for this preset:");
    EXPECT_EQ(prompt.asked()[0].title, "Create Preset");
    EXPECT_EQ(prompt.asked()[0].defaultText, "");

    ASSERT_EQ(ProgramState.PresetCount(), 4);
    EXPECT_EQ(ProgramState.Presets[3], MakePreset("Sofas", SortSet{}));
    EXPECT_EQ(RowKeys(editor->lstPresets).last(), "3#");
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Sofas"}));
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(CheckedTexts(list(k)).isEmpty()) << "list " << k;
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"None"}));

    // Names are not examined: the same name again is a second preset.
    prompt.queueInput("Sofas");
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);
    EXPECT_EQ(ProgramState.PresetCount(), 5);
    EXPECT_EQ(RowKeys(editor->lstPresets).last(), "4#");
}

TEST_F(PresetEditor, NewWithNoNameOrAnUnstorableNameChangesNothing)
{
    Open(ThreePresets());
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton); // cancelled input box
    prompt.queueInput(QString(256, QLatin1Char('x')));
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);
    prompt.queueInput(QStringLiteral("Sofa \u4e00"));
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);

    EXPECT_EQ(ProgramState.Presets, ThreePresets());
    EXPECT_EQ(editor->lstPresets->topLevelItemCount(), 3);
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Chairs"}));
    const QStringList messages = prompt.messages();
    ASSERT_EQ(messages.size(), 2) << "a cancel must not be answered with a message";
    EXPECT_TRUE(messages[0].contains("too long"));
    EXPECT_TRUE(messages[1].contains("cannot be stored"));
    for (const auto& asked : prompt.asked()) {
        if (asked.kind == ScriptedPrompt::Kind::Message)
            EXPECT_EQ(asked.title, "Kestrane");
    }
}

TEST_F(PresetEditor, NamesAreStoredAsWindows1252Bytes)
{
    Open({});
    // 255 bytes is the most the file can hold; "é" is one byte.
    const QString longest = QStringLiteral("\u00e9") + QString(254, QLatin1Char('a'));
    prompt.queueInput(longest);
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);
    prompt.queueInput(QStringLiteral("Caf\u00e9 \u20ac"));
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);

    ASSERT_EQ(ProgramState.PresetCount(), 2);
    EXPECT_EQ(ProgramState.Presets[0].Name.size(), 255);
    EXPECT_EQ(ProgramState.Presets[0].Name.at(0), '\xE9');
    EXPECT_EQ(ProgramState.Presets[1].Name, QByteArray("Caf\xE9 \x80"));
    EXPECT_EQ(RowTexts(editor->lstPresets).last(), QStringLiteral("Caf\u00e9 \u20ac"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(PresetEditor, RenameOffersTheCurrentNameAndStoresTheAnswer)
{
    Open(ThreePresets());
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Tables"));
    prompt.queueInput("Desks");
    QTest::mouseClick(editor->cmdRename, Qt::LeftButton);

    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, "Enter a new name for this preset:");
    EXPECT_EQ(prompt.asked()[0].title, "Create Preset");
    EXPECT_EQ(prompt.asked()[0].defaultText, "Tables");
    EXPECT_EQ(ProgramState.Presets[1].Name, "Desks");
    EXPECT_EQ(ProgramState.Presets[1].Sorts, ThreePresets()[1].Sorts);
    EXPECT_EQ(RowTexts(editor->lstPresets), QStringList({"Chairs", "Desks", "Lamps"}));
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Desks"}));

    // Cancel, then a name too long: the name stays.
    QTest::mouseClick(editor->cmdRename, Qt::LeftButton);
    prompt.queueInput(QString(300, QLatin1Char('n')));
    QTest::mouseClick(editor->cmdRename, Qt::LeftButton);
    EXPECT_EQ(ProgramState.Presets[1].Name, "Desks");
    EXPECT_EQ(RowTexts(editor->lstPresets)[1], "Desks");
    EXPECT_EQ(prompt.messages().size(), 1);
}

TEST_F(PresetEditor, DeleteAsksAndRenumbersTheRows)
{
    Open(ThreePresets());
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Tables"));

    prompt.queueAnswer(PromptAnswer::No);
    QTest::mouseClick(editor->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(ProgramState.Presets, ThreePresets());
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, "Are you sure you want to delete this preset?");
    EXPECT_EQ(prompt.asked()[0].title, "Kestrane");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);

    prompt.queueAnswer(PromptAnswer::Yes);
    QTest::mouseClick(editor->cmdDelete, Qt::LeftButton);
    const QList<Preset> expected = {ThreePresets()[0], ThreePresets()[2]};
    EXPECT_EQ(ProgramState.Presets, expected);
    EXPECT_EQ(RowTexts(editor->lstPresets), QStringList({"Chairs", "Lamps"}));
    EXPECT_EQ(RowKeys(editor->lstPresets), QStringList({"0#", "1#"}));
    EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Chairs"}));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Seating"}));

    // The renumbered row reaches its preset: Lamps is now at 1.
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Lamps"));
    ClickCheckBox(list(2), RowByText(list(2), "Study"));
    EXPECT_EQ(ProgramState.Presets[1].Sorts[2], 128);
    EXPECT_EQ(ProgramState.Presets[0].Sorts[2], 1);
}

TEST_F(PresetEditor, DeletingTheOnlyPresetLeavesTheListsAsShown)
{
    Open({MakePreset("Only", {8, 2, 4, 0, 0, 0, 0, 0, 3})});
    prompt.queueAnswer(PromptAnswer::Yes);
    QTest::mouseClick(editor->cmdDelete, Qt::LeftButton);
    EXPECT_TRUE(ProgramState.Presets.isEmpty());
    EXPECT_EQ(editor->lstPresets->topLevelItemCount(), 0);
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Electronics"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Video"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Stairs"}));
}

TEST_F(PresetEditor, CheckMarksStoreSlotsZeroToSevenButNotBuildMode)
{
    // Build Mode 9 shows "None"; Downtown 16 has no row.
    QList<Preset> presets = ThreePresets();
    presets[1].Sorts = {1, 4, 0, 16, 0, 0, 0, 0, 9};
    Open(presets);
    ClickRow(editor->lstPresets, RowByText(editor->lstPresets, "Tables"));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"None"}));

    // A click on a check box checks without selecting: Seating stays the chosen group.
    ClickCheckBox(list(0), RowByText(list(0), "Surfaces"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Sofas"}));
    SortSet expected = {3, 4, 0, 0, 0, 0, 0, 0, 9};
    EXPECT_EQ(ProgramState.Presets[1].Sorts, expected);

    ClickCheckBox(list(7), RowByText(list(7), "MagiCo"));
    expected[7] = 4;
    EXPECT_EQ(ProgramState.Presets[1].Sorts, expected);

    ClickCheckBox(list(0), RowByText(list(0), "Seating"));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Surfaces"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"End Tables"}));
    expected[0] = 2;
    EXPECT_EQ(ProgramState.Presets[1].Sorts, expected);

    // The other presets are untouched.
    EXPECT_EQ(ProgramState.Presets[0], ThreePresets()[0]);
    EXPECT_EQ(ProgramState.Presets[2], ThreePresets()[2]);
}

TEST_F(PresetEditor, BuildModeChangesOnlyByAClickInItsList)
{
    QList<Preset> presets = ThreePresets();
    presets[0].Sorts = {1, 1, 0, 16, 0, 0, 0, 0, 9};
    Open(presets);

    ClickRow(list(8), RowByText(list(8), "Pool"));
    SortSet expected = {1, 1, 0, 16, 0, 0, 0, 0, 7};
    EXPECT_EQ(ProgramState.Presets[0].Sorts, expected) << "a Build Mode click touched other slots";

    // A click on the row already selected stores it too ("None" over a stored 9).
    ProgramState.Presets[0].Sorts[8] = 9;
    ClickRow(list(8), RowByText(list(8), "Pool"));
    EXPECT_EQ(ProgramState.Presets[0].Sorts[8], 7);

    // Arrow keys choose like a click.
    list(8)->setFocus();
    QTest::keyClick(list(8), Qt::Key_Up);
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Columns"}));
    EXPECT_EQ(ProgramState.Presets[0].Sorts[8], 6);

    // Clicks on the text of rows of other lists change nothing.
    ClickRow(list(2), RowByText(list(2), "Study"));
    ClickRow(list(0), RowByText(list(0), "Surfaces"));
    expected[8] = 6;
    EXPECT_EQ(ProgramState.Presets[0].Sorts, expected);
}

TEST_F(PresetEditor, ClickingACheckedFunctionRowShowsItsGroupWithoutStoring)
{
    Open({MakePreset("Both", {3, 1, 0, 0, 0, 0, 0, 0, 0})});
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Dining Chairs"}));
    ClickRow(list(0), RowByText(list(0), "Surfaces"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Counters"}));
    EXPECT_EQ(ProgramState.Presets[0].Sorts, (SortSet{3, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PresetEditor, OkClosesAndKeepsEveryChange)
{
    Open(ThreePresets());
    prompt.queueInput("Rugs");
    QTest::mouseClick(editor->cmdNew, Qt::LeftButton);
    ClickCheckBox(list(0), RowByText(list(0), "Decorative"));
    QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(ProgramState.PresetCount(), 4);
    EXPECT_EQ(ProgramState.Presets[3].Sorts[0], 32);
}

} // namespace
