// The main window as a person sees it: files, objects, the panel, the sort lists and keys.
#include "MainWindowHarness.h"

namespace
{

using MainWindowTest = MainWindowHarness;

TEST_F(MainWindowTest, ListsTheFilesAndOpensTheOneClicked)
{
    writeFile("b.iff", object(object({}, 200, "Table", "Eat here", 150), 201, "Desk", "Work", 90));
    writeFile("a.iff", object({}, 128, "Caf\xe9 chair", "\x80 9", 75));
    writeFile("notes.txt", {});
    writeFile("C.IFF", object({}, 300, "Lamp", "Light", 20));
    openWindow();

    EXPECT_EQ(window->fraFile->title(), "Select a file: (3 found)");
    EXPECT_EQ(RowTexts(window->lstFiles), (QStringList{"a.iff", "b.iff", "C.IFF"}));
    EXPECT_EQ(RowKeys(window->lstFiles), (QStringList{"File0", "File1", "File2"}));
    EXPECT_EQ(SelectedTexts(window->lstFiles), QStringList{"a.iff"});
    EXPECT_EQ(panel(), QString::fromUtf8("a.iff|Café chair|€ 9|75|")); // Windows-1252

    ClickRow(window->lstFiles, fileRow("b.iff"));
    EXPECT_EQ(window->CurrentFile, 1);
    EXPECT_EQ(window->lstObjects->topLevelItemCount(), 2);
    EXPECT_EQ(window->CurrentObject, 200);
    EXPECT_EQ(panel(), "b.iff|Table|Eat here|150|");
    ClickRow(window->lstObjects, objectRow(201));
    EXPECT_EQ(panel(), "b.iff|Desk|Work|90|");
    EXPECT_TRUE(prompt.asked().isEmpty()); // showing objects is not an edit
}

TEST_F(MainWindowTest, MissingCatalogTextOrObjectsDisableWhatCannotBeEdited)
{
    ObjdSpec spec = CatalogObject(500, 33);
    spec.disabled = 1;
    writeFile("a.iff", CatalogFixture().objd(128, "bare", spec));
    // A name without a description.
    writeFile("b.iff", CatalogFixture()
                           .objd(128, "half", CatalogObject(128, 10))
                           .ctss(128, QByteArray("\xFD\xFF\x01\x00\x01Only a name\0", 17)));
    const QString empty = writeFile("c.iff", CatalogFixture().bmp(1, "Catalog"));
    const QByteArray before = bytesOf(empty);
    openWindow();

    EXPECT_TRUE(window->picNoObjects->isHidden());
    EXPECT_EQ(panel(), "a.iff|||33|D"); // the rest stays usable
    EXPECT_FALSE(window->txtName->isEnabled() || window->txtDescript->isEnabled());
    EXPECT_EQ(window->txtName->palette().color(QPalette::Base), QColor(224, 224, 224));
    EXPECT_TRUE(window->txtPrice->isEnabled());

    ClickRow(window->lstFiles, fileRow("c.iff"));
    EXPECT_FALSE(window->picNoObjects->isHidden());
    EXPECT_EQ(window->lblNoObjects->text(), " No objects were found in this file!");
    EXPECT_EQ(window->CurrentObject, -1);
    for (QWidget* off : {(QWidget*)window->lstObjects, (QWidget*)window->cmdSave,
                         (QWidget*)window->lstPresets, (QWidget*)window->lstSort[4]})
        EXPECT_FALSE(off->isEnabled());
    EXPECT_TRUE(window->cmdDelete->isEnabled() && window->cmdPresetNew->isEnabled());
    window->lstFiles->setFocus();
    QTest::keyClick(window->lstFiles, Qt::Key_S, Qt::ControlModifier); // Save is off: nothing
    EXPECT_EQ(bytesOf(empty), before);
    EXPECT_TRUE(prompt.asked().isEmpty());

    ClickRow(window->lstFiles, fileRow("b.iff"));
    EXPECT_TRUE(window->picNoObjects->isHidden() && window->lstObjects->isEnabled());
    EXPECT_EQ(panel(), "b.iff|Only a name||10|");
    EXPECT_TRUE(window->txtName->isEnabled());
    EXPECT_NE(window->txtName->palette().color(QPalette::Base), QColor(224, 224, 224));
    EXPECT_FALSE(window->txtDescript->isEnabled());
}

TEST_F(MainWindowTest, NoFolderFoundGivesAnEmptyDisabledWindow)
{
    ProgramState.Folders = {FolderEntry{gameFolder + "missing/", true}};
    openWindow();
    EXPECT_EQ(window->fraFile->title(), "Select a file: (0 found)");
    EXPECT_EQ(panel(), "||||");
    EXPECT_FALSE(window->txtPrice->isEnabled());
    EXPECT_FALSE(window->picNoObjects->isHidden()); // shown from the start, never hidden
    EXPECT_EQ(SelectedTexts(window->lstSort[8]), QStringList{"None"});
    // Create From Current with no object stores zeros.
    prompt.queueInput("Empty");
    window->cmdPresetNew->click();
    ASSERT_EQ(ProgramState.PresetCount(), 1);
    EXPECT_EQ(ProgramState.Presets[0].Sorts, SortSet{});
    EXPECT_EQ(RowTexts(window->lstPresets), QStringList({"Empty"}));
}

TEST_F(MainWindowTest, SortsAreMarkedAndSubFunctionRowsFollowTheFunction)
{
    // Seating|Surfaces, Dining Chairs, Kitchen|Study, Downtown 16 (no row), Pool.
    writeFile("a.iff",
              object(object(object(object({}, 128, "A", "", 1, {3, 1, 129, 16, 0, 0, 0, 0, 7}), 129,
                                   "B", "", 1, {0, 0, 0, 0, 0, 0, 0, 0, 8}),
                            130, "C", "", 1, {0, 0, 0, 0, 0, 0, 0, 0, 300}),
                     131, "Lamp", "", 1, {128, 8}));
    openWindow();
    EXPECT_EQ(CheckedTexts(window->lstSort[0]), (QStringList{"Seating", "Surfaces"}));
    // Neither Function row is selected, so the first checked one picks the group.
    EXPECT_EQ(RowTexts(window->lstSort[1]).value(0), "Dining Chairs");
    EXPECT_EQ(CheckedTexts(window->lstSort[1]), QStringList{"Dining Chairs"});
    EXPECT_EQ(CheckedTexts(window->lstSort[2]), (QStringList{"Kitchen", "Study"}));
    EXPECT_TRUE(CheckedTexts(window->lstSort[3]).isEmpty());
    EXPECT_EQ(SelectedTexts(window->lstSort[8]), QStringList{"Pool"});
    // Selecting the checked Surfaces row shows its group; the bits stay.
    ClickRow(window->lstSort[0], RowByText(window->lstSort[0], "Surfaces"));
    EXPECT_EQ(CheckedTexts(window->lstSort[1]), QStringList{"Counters"});

    ClickRow(window->lstObjects, objectRow(129));
    EXPECT_EQ(SelectedTexts(window->lstSort[8]), QStringList{"None"});
    EXPECT_TRUE(RowTexts(window->lstSort[1]).isEmpty()); // Function 0: no Sub-Function rows
    ClickRow(window->lstObjects, objectRow(130));
    EXPECT_EQ(SelectedTexts(window->lstSort[8]), QStringList{"None"});
    // Another object's Function brings its own group with its own bits.
    ClickRow(window->lstObjects, objectRow(131));
    EXPECT_TRUE(prompt.asked().isEmpty()); // a selection is not an edit
    EXPECT_EQ(RowTexts(window->lstSort[1]).value(0), "Table Lamps");
    EXPECT_EQ(CheckedTexts(window->lstSort[1]), QStringList{"Ceiling Lamps"});

    // Checking Functions by hand rebuilds the rows at once.
    QTreeWidget* function = window->lstSort[0];
    ClickCheckBox(function, RowByText(function, "Plumbing"));
    EXPECT_EQ(RowTexts(window->lstSort[1]).value(0), "Toilets");
    EXPECT_EQ(CheckedTexts(window->lstSort[1]), QStringList{"Hot Tubs"});
    ClickCheckBox(function, RowByText(function, "Lighting"));
    ClickCheckBox(function, RowByText(function, "Plumbing"));
    EXPECT_TRUE(RowTexts(window->lstSort[1]).isEmpty());
    ClickCheckBox(function, RowByText(function, "Seating"));
    ClickCheckBox(window->lstSort[2], window->lstSort[2]->topLevelItem(0)); // another list
    EXPECT_EQ(RowTexts(window->lstSort[1]).value(0), "Dining Chairs");

    // Build Mode keeps one chosen row: Ctrl+click cannot take it away.
    ClickRow(window->lstSort[8], RowByText(window->lstSort[8], "None"), Qt::ControlModifier);
    EXPECT_EQ(SelectedTexts(window->lstSort[8]), QStringList{"None"});
}

TEST_F(MainWindowTest, PriceBoxKeepsALeadingMinusAndDigitsAndCtrlSSaves)
{
    const QString path = writeFile("a.iff", object({}, 128, "Chair", "", 10));
    openWindow();
    for (const auto& [typed, kept] : {std::pair{"12a3", "123"}, {"1-2", "12"}, {"-40", "-40"}}) {
        window->txtPrice->clear();
        QTest::keyClicks(window->txtPrice, typed);
        EXPECT_EQ(window->txtPrice->text(), kept) << typed;
    }
    window->txtPrice->setFocus();
    window->txtPrice->setText("99");
    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(onDisk(path)->GetPrice(128), 10);
    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(onDisk(path)->GetPrice(128), 99);
}

} // namespace
