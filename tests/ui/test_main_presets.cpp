// Presets on the main window: applying one, Create From Current, the Preset Editor opened from
// the window, and real message boxes that must not disturb the preset list.
#include "MainWindowHarness.h"
#include "PresetNames.h"
#include "QtPrompt.h"
#include "frmPresets.h"

#include <QInputDialog>
#include <QMessageBox>

namespace
{

class MainPresets : public MainWindowHarness
{
protected:
    // One file with one object (Seating / Dining Chairs / Kitchen / Doors) and three presets.
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        chairPath = writeFile("chair.iff", object(CatalogFixture(), 128, "Chair", "Sit down", 120,
                                                  {1, 1, 1, 0, 0, 0, 0, 0, 1}));
        ProgramState.Presets = {Preset{"Lamps", {128, 8, 2, 0, 0, 0, 0, 0, 3}},
                                Preset{"Bath", {16, 4, 4, 0, 0, 0, 0, 0, 0}},
                                Preset{"Pets", {64, 32, 0, 0, 0, 0, 0, 0, 9}}};
        openWindow();
        ASSERT_EQ(window->CurrentObject, 128);
    }

    QTreeWidget* list(int k) const { return window->lstSort[k]; }
    QString chairPath;
};

TEST_F(MainPresets, ClickingAPresetMarksItsSortsAsUnsavedEdits)
{
    EXPECT_EQ(RowKeys(window->lstPresets), QStringList({"0#", "1#", "2#"}));
    EXPECT_EQ(SelectedTexts(window->lstPresets), QStringList({"Lamps"}));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Seating"})) << "marked, not applied";

    ClickRow(window->lstPresets, RowByText(window->lstPresets, "Lamps"));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Lighting"}));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Ceiling Lamps"}));
    EXPECT_EQ(CheckedTexts(list(2)), QStringList({"Bedroom"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"Stairs"}));
    EXPECT_EQ(window->txtName->text(), "Chair");

    // Pets: the Miscellaneous group has "Pets"; Build Mode 9 shows "None".
    ClickRow(window->lstPresets, RowByText(window->lstPresets, "Pets"));
    EXPECT_EQ(CheckedTexts(list(1)), QStringList({"Pets"}));
    EXPECT_EQ(SelectedTexts(list(8)), QStringList({"None"}));

    // Nothing is written until saved; then the file holds the preset's sorts.
    ClickRow(window->lstPresets, RowByText(window->lstPresets, "Bath"));
    EXPECT_EQ(onDisk(chairPath)->GetSorts(128), (SortSet{1, 1, 1, 0, 0, 0, 0, 0, 1}));
    QTest::mouseClick(window->cmdSave, Qt::LeftButton);
    EXPECT_EQ(onDisk(chairPath)->GetSorts(128), (SortSet{16, 4, 4, 0, 0, 0, 0, 0, 0}));
}

TEST_F(MainPresets, CreateFromCurrentStoresWhatTheListsShow)
{
    ClickCheckBox(list(3), RowByText(list(3), "Street"));
    prompt.queueInput(QStringLiteral("Caf\u00e9 chairs"));
    QTest::mouseClick(window->cmdPresetNew, Qt::LeftButton);

    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, "Enter a name for this preset:");
    EXPECT_EQ(prompt.asked()[0].title, "Create Preset");
    ASSERT_EQ(ProgramState.PresetCount(), 4);
    EXPECT_EQ(ProgramState.Presets[3], (Preset{"Caf\xE9 chairs", {1, 1, 1, 8, 0, 0, 0, 0, 1}}));
    EXPECT_EQ(RowKeys(window->lstPresets).last(), "3#");
    EXPECT_EQ(SelectedTexts(window->lstPresets), QStringList({"Lamps"})) << "not selected";

    // A preset the data file could not hold is refused rather than lost at exit.
    ProgramState.Presets = QList<Preset>(kMaxPresets, Preset{"p", SortSet{}});
    prompt.queueInput("One too many");
    QTest::mouseClick(window->cmdPresetNew, Qt::LeftButton);
    EXPECT_EQ(ProgramState.PresetCount(), kMaxPresets);
    EXPECT_EQ(RowKeys(window->lstPresets).size(), 4);
    EXPECT_EQ(prompt.messages().size(), 1);
}

TEST_F(MainPresets, TheEditorsChangesShowWhenItCloses)
{
    prompt.queueInput("Mine");
    prompt.queueAnswer(PromptAnswer::Yes);
    auto ran = WhenModalOpens<frmPresets>([](frmPresets* editor) {
        EXPECT_EQ(SelectedTexts(editor->lstPresets), QStringList({"Lamps"}));
        QTest::mouseClick(editor->cmdDelete, Qt::LeftButton); // Lamps goes
        QTest::mouseClick(editor->cmdNew, Qt::LeftButton);
        ClickCheckBox(editor->lstSort[2], RowByText(editor->lstSort[2], "Study"));
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdPresetEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    EXPECT_EQ(RowTexts(window->lstPresets), QStringList({"Bath", "Pets", "Mine"}));
    EXPECT_EQ(RowKeys(window->lstPresets), QStringList({"0#", "1#", "2#"}));
    EXPECT_EQ(SelectedTexts(window->lstPresets), QStringList({"Bath"}));
    EXPECT_EQ(ProgramState.Presets[2].Sorts, (SortSet{0, 0, 128, 0, 0, 0, 0, 0, 0}));
    // Marked, not applied: the object's sorts are still shown.
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Seating"}));
}

TEST_F(MainPresets, RealMessageBoxesLeaveThePresetSelectionAlone)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ClickRow(window->lstPresets, RowByText(window->lstPresets, "Bath"));

    QtPrompt qtPrompt;
    PromptScope scope(qtPrompt);
    std::shared_ptr<bool> boxRan;
    auto inputRan = WhenModalOpens<QInputDialog>([&](QInputDialog* input) {
        input->setTextValue(QString(300, QLatin1Char('x')));
        boxRan = WhenModalOpens<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "Kestrane");
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_TRUE(box->text().contains("too long"));
            box->button(QMessageBox::Ok)->click();
        });
        input->accept();
    });
    QTest::mouseClick(window->cmdPresetNew, Qt::LeftButton);
    ASSERT_TRUE(*inputRan);
    ASSERT_TRUE(boxRan && *boxRan);

    // Activation comes back once the boxes are gone; the preset list must not be rebuilt.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(ProgramState.PresetCount(), 3);
    EXPECT_EQ(SelectedTexts(window->lstPresets), QStringList({"Bath"}));
    EXPECT_EQ(CheckedTexts(list(0)), QStringList({"Plumbing"}));
    window->hide();
}

} // namespace
