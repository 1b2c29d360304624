// The main window as a person sees it: files, objects, the panel, the sort lists, keys and
// presets.
#include "Cp1252.h"
#include "MainWindowHarness.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{

SortSet Sorts(std::initializer_list<qint32> values)
{
    SortSet sorts{};
    int i = 0;
    for (qint32 v : values)
        sorts[i++] = v;
    return sorts;
}

class MainWindowTest : public MainWindowHarness
{
};

TEST_F(MainWindowTest, ListsTheFoldersFilesAndOpensTheFirst)
{
    writeFile("b_table.iff", object({}, 200, "Table", "A table", 150));
    writeFile("a_chair.iff", object({}, 128, "Chair", "Sit on it", 75));
    writeFile("notes.txt", {});
    writeFile("C_LAMP.IFF", object({}, 300, "Lamp", "Light", 20));
    openWindow();

    EXPECT_EQ(window->fraFile->title(), "Select a file: (3 found)");
    // By name, letter case aside, as the game's own platform lists them.
    EXPECT_EQ(rowTexts(window->lstFiles),
              (QStringList{"a_chair.iff", "b_table.iff", "C_LAMP.IFF"}));
    EXPECT_EQ(window->CurrentFile, 0);
    EXPECT_EQ(window->lblFilePath->text(), gameFolder + "a_chair.iff");
    EXPECT_TRUE(window->lstFiles->topLevelItem(0)->isSelected());
    EXPECT_EQ(window->txtName->text(), "Chair");
    EXPECT_EQ(window->txtPrice->text(), "75");
    EXPECT_TRUE(window->picNoObjects->isHidden());
    EXPECT_TRUE(window->cmdSave->isEnabled());
}

TEST_F(MainWindowTest, ClickingAFileShowsItsFirstObject)
{
    writeFile("a.iff", object({}, 128, "Chair", "Sit on it", 75));
    writeFile("b.iff", object(object({}, 200, "Table", "Eat here", 150), 201, "Desk", "Work", 90));
    openWindow();

    clickRow(window->lstFiles, fileRow("b.iff"));
    EXPECT_EQ(window->CurrentFile, 1);
    EXPECT_EQ(window->lstObjects->topLevelItemCount(), 2);
    EXPECT_EQ(window->CurrentObject, 200);
    EXPECT_EQ(window->txtName->text(), "Table");
    EXPECT_EQ(window->txtDescript->toPlainText(), "Eat here");
    EXPECT_EQ(window->txtPrice->text(), "150");

    clickRow(window->lstObjects, objectRow(201));
    EXPECT_EQ(window->CurrentObject, 201);
    EXPECT_EQ(window->txtName->text(), "Desk");
    EXPECT_EQ(window->txtPrice->text(), "90");
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(MainWindowTest, CatalogTextIsShownFromWindows1252)
{
    writeFile("a.iff", object({}, 128, "Caf\xe9 chair", "\x80 9", 5));
    openWindow();
    EXPECT_EQ(window->txtName->text(), QString::fromUtf8("Café chair"));
    EXPECT_EQ(window->txtDescript->toPlainText(), QString::fromUtf8("€ 9"));
}

TEST_F(MainWindowTest, MissingCatalogTextShowsGreyDisabledBoxes)
{
    ObjdSpec spec = CatalogObject(500, 33);
    spec.disabled = 1;
    writeFile("a.iff", CatalogFixture().objd(128, "bare", spec));
    writeFile("b.iff", CatalogFixture()
                           .objd(128, "half", CatalogObject(128, 10))
                           .ctss(128, QByteArray("\xFD\xFF\x01\x00\x01Only a name\0", 17)));
    openWindow();

    EXPECT_TRUE(window->txtName->text().isEmpty());
    EXPECT_FALSE(window->txtName->isEnabled());
    EXPECT_FALSE(window->txtDescript->isEnabled());
    EXPECT_EQ(window->txtName->palette().color(QPalette::Base), QColor(224, 224, 224));
    // The rest of the panel stays usable.
    EXPECT_EQ(window->txtPrice->text(), "33");
    EXPECT_TRUE(window->txtPrice->isEnabled());
    EXPECT_TRUE(window->chkDisabled->isChecked());
    EXPECT_TRUE(window->lstSort[0]->isEnabled());

    clickRow(window->lstFiles, fileRow("b.iff"));
    EXPECT_EQ(window->txtName->text(), "Only a name");
    EXPECT_TRUE(window->txtName->isEnabled());
    EXPECT_NE(window->txtName->palette().color(QPalette::Base), QColor(224, 224, 224));
    EXPECT_FALSE(window->txtDescript->isEnabled());
}

TEST_F(MainWindowTest, FileWithoutObjectsShowsTheNoObjectsPanel)
{
    writeFile("a.iff", object({}, 128, "Chair", "", 1));
    writeFile("b.iff", CatalogFixture().bmp(1, "Catalog"));
    openWindow();
    EXPECT_TRUE(window->picNoObjects->isHidden());

    clickRow(window->lstFiles, fileRow("b.iff"));
    EXPECT_FALSE(window->picNoObjects->isHidden());
    EXPECT_EQ(window->lblNoObjects->text(), " No objects were found in this file!");
    EXPECT_FALSE(window->lstObjects->isEnabled());
    EXPECT_FALSE(window->cmdSave->isEnabled());
    EXPECT_FALSE(window->lstPresets->isEnabled());
    EXPECT_TRUE(window->txtName->text().isEmpty());
    EXPECT_EQ(window->CurrentObject, -1);
    EXPECT_EQ(window->CurrentFile, 1);
    // Delete, relist, folders, presets and exit are never disabled.
    EXPECT_TRUE(window->cmdDelete->isEnabled());
    EXPECT_TRUE(window->cmdPresetNew->isEnabled());

    clickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_TRUE(window->picNoObjects->isHidden());
    EXPECT_TRUE(window->lstObjects->isEnabled());
    EXPECT_EQ(window->txtName->text(), "Chair");
}

TEST_F(MainWindowTest, NoFolderFoundGivesAnEmptyDisabledWindow)
{
    ProgramState.Folders = {FolderEntry{gameFolder + "missing/", true}};
    openWindow();
    EXPECT_EQ(window->fraFile->title(), "Select a file: (0 found)");
    EXPECT_TRUE(window->lblFilePath->text().isEmpty());
    EXPECT_FALSE(window->lstObjects->isEnabled());
    EXPECT_FALSE(window->txtPrice->isEnabled());
    // Shown from the start and never hidden without a file.
    EXPECT_FALSE(window->picNoObjects->isHidden());
    EXPECT_EQ(window->lstSort[8]->selectedItems().value(0), window->lstSort[8]->topLevelItem(0));
}

TEST_F(MainWindowTest, SortsOfAnObjectAreMarked)
{
    // Function Seating|Surfaces, Sub-Function 1, Room Kitchen|Study, Downtown 16 (no row),
    // Build Mode 7.
    writeFile("a.iff", object({}, 128, "Chair", "", 1, Sorts({3, 1, 129, 16, 0, 0, 0, 0, 7})));
    openWindow();

    EXPECT_EQ(checkedTexts(window->lstSort[0]), (QStringList{"Seating", "Surfaces"}));
    // Neither Function row is selected, so the first checked one picks the group.
    EXPECT_EQ(rowTexts(window->lstSort[1]).value(0), "Dining Chairs");
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Dining Chairs"});
    EXPECT_EQ(checkedTexts(window->lstSort[2]), (QStringList{"Kitchen", "Study"}));
    EXPECT_TRUE(checkedTexts(window->lstSort[3]).isEmpty());
    EXPECT_EQ(window->lstSort[8]->selectedItems().value(0)->text(0), "Pool");
}

TEST_F(MainWindowTest, BuildModeOutOfRangeSelectsNone)
{
    writeFile("a.iff",
              object(object(object({}, 128, "A", "", 1, Sorts({0, 0, 0, 0, 0, 0, 0, 0, 3})), 129,
                            "B", "", 1, Sorts({0, 0, 0, 0, 0, 0, 0, 0, 8})),
                     130, "C", "", 1, Sorts({0, 0, 0, 0, 0, 0, 0, 0, 300})));
    openWindow();
    EXPECT_EQ(window->lstSort[8]->selectedItems().value(0)->text(0), "Stairs");
    clickRow(window->lstObjects, objectRow(129));
    ASSERT_EQ(window->lstSort[8]->selectedItems().size(), 1);
    EXPECT_EQ(window->lstSort[8]->selectedItems().value(0)->text(0), "None");
    clickRow(window->lstObjects, objectRow(130));
    EXPECT_EQ(window->lstSort[8]->selectedItems().value(0)->text(0), "None");
    EXPECT_TRUE(prompt.asked().isEmpty()); // showing an object is not an edit
}

TEST_F(MainWindowTest, SubFunctionRowsFollowTheFunction)
{
    writeFile("a.iff", object(object({}, 128, "Chair", "", 1, Sorts({1, 2})), 129, "Lamp", "", 1,
                              Sorts({128, 8})));
    openWindow();
    EXPECT_EQ(rowTexts(window->lstSort[1]).value(0), "Dining Chairs");
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Lounge Chairs"});

    // Another object's Function brings its own group with its own bits.
    clickRow(window->lstObjects, objectRow(129));
    EXPECT_EQ(rowTexts(window->lstSort[1]).value(0), "Table Lamps");
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Ceiling Lamps"});

    // Checking another Function by hand: the bits stay, the rows change at once.
    QTreeWidget* function = window->lstSort[0];
    setChecked(function, rowWithText(function, "Lighting"), false);
    EXPECT_TRUE(rowTexts(window->lstSort[1]).isEmpty());
    setChecked(function, rowWithText(function, "Plumbing"), true);
    EXPECT_EQ(rowTexts(window->lstSort[1]).value(0), "Toilets");
    EXPECT_TRUE(
        checkedTexts(window->lstSort[1]).isEmpty()); // bit 8 was dropped with the empty list

    // A check in any other list changes nothing else.
    const QStringList before = rowTexts(window->lstSort[1]);
    setChecked(window->lstSort[2], window->lstSort[2]->topLevelItem(0), true);
    EXPECT_EQ(rowTexts(window->lstSort[1]), before);
}

TEST_F(MainWindowTest, SelectingACheckedFunctionShowsItsGroup)
{
    writeFile("a.iff", object({}, 128, "Chair", "", 1, Sorts({3, 1})));
    openWindow();
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Dining Chairs"});
    clickRow(window->lstSort[0], rowWithText(window->lstSort[0], "Surfaces"));
    EXPECT_EQ(rowTexts(window->lstSort[1]).value(0), "Counters");
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Counters"});
}

TEST_F(MainWindowTest, PriceBoxKeepsALeadingMinusAndDigits)
{
    writeFile("a.iff", object({}, 128, "Chair", "", 1));
    openWindow();
    window->txtPrice->clear();
    window->txtPrice->setFocus();
    QTest::keyClicks(window->txtPrice, "12a3");
    EXPECT_EQ(window->txtPrice->text(), "123");
    window->txtPrice->clear();
    QTest::keyClicks(window->txtPrice, "1-2");
    EXPECT_EQ(window->txtPrice->text(), "12");
    window->txtPrice->clear();
    QTest::keyClicks(window->txtPrice, "-40");
    EXPECT_EQ(window->txtPrice->text(), "-40");
}

TEST_F(MainWindowTest, CtrlSSavesAndCtrlShiftSDoesNot)
{
    const QString path = writeFile("a.iff", object({}, 128, "Chair", "", 10));
    openWindow();
    window->txtPrice->setFocus();
    window->txtPrice->setText("99");

    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    clsIFF onDisk;
    ASSERT_TRUE(onDisk.LoadFile(path));
    EXPECT_EQ(onDisk.GetPrice(128), 10);

    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier);
    clsIFF saved;
    ASSERT_TRUE(saved.LoadFile(path));
    EXPECT_EQ(saved.GetPrice(128), 99);
    EXPECT_EQ(window->txtPrice->text(), "99"); // the key also reached the box, which kept it
}

TEST_F(MainWindowTest, CtrlSWithoutAnObjectDoesNothing)
{
    const QString path = writeFile("a.iff", CatalogFixture().bmp(1, "Catalog"));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    openWindow();
    window->lstFiles->setFocus();
    QTest::keyClick(window->lstFiles, Qt::Key_S, Qt::ControlModifier);
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(MainWindowTest, PresetsAreListedAndAppliedAsEdits)
{
    ProgramState.Presets = {Preset{"Lamps", Sorts({128, 4, 2, 0, 0, 0, 0, 0, 2})},
                            Preset{"Lamps", Sorts({1, 1, 0, 0, 0, 0, 0, 0, 0})}};
    writeFile("a.iff", object(object({}, 128, "Chair", "", 1, Sorts({1, 1})), 129, "Sofa", "", 1,
                              Sorts({1, 4})));
    openWindow();
    EXPECT_EQ(rowTexts(window->lstPresets), (QStringList{"Lamps", "Lamps"}));
    EXPECT_TRUE(window->lstPresets->topLevelItem(0)->isSelected());
    // Marked only: the shown object's sorts are untouched.
    EXPECT_EQ(checkedTexts(window->lstSort[0]), QStringList{"Seating"});

    clickRow(window->lstPresets, window->lstPresets->topLevelItem(0));
    EXPECT_EQ(checkedTexts(window->lstSort[0]), QStringList{"Lighting"});
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Wall Lamps"});
    EXPECT_EQ(checkedTexts(window->lstSort[2]), QStringList{"Bedroom"});
    EXPECT_EQ(window->lstSort[8]->selectedItems().value(0)->text(0), "Windows");

    // The second preset of the same name applies its own sorts.
    clickRow(window->lstPresets, window->lstPresets->topLevelItem(1));
    EXPECT_EQ(checkedTexts(window->lstSort[0]), QStringList{"Seating"});
    EXPECT_EQ(checkedTexts(window->lstSort[1]), QStringList{"Dining Chairs"});
    EXPECT_TRUE(checkedTexts(window->lstSort[2]).isEmpty());

    // Applying the first again, then leaving the object: the check finds the changed sorts.
    clickRow(window->lstPresets, window->lstPresets->topLevelItem(0));
    prompt.queueAnswer(PromptAnswer::No);
    clickRow(window->lstObjects, objectRow(129));
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages().first(),
              "This objects has changed. Would you like to save the changes?");
}

TEST_F(MainWindowTest, CreateFromCurrentAddsAPresetOfTheShownSorts)
{
    writeFile("a.iff", object({}, 128, "Chair", "", 1, Sorts({2, 2, 4, 1, 0, 0, 0, 0, 5})));
    openWindow();

    prompt.queueInput(QString()); // cancelled
    window->cmdPresetNew->click();
    EXPECT_EQ(ProgramState.PresetCount(), 0);

    prompt.queueInput(QString::fromUtf8("Tables €"));
    window->cmdPresetNew->click();
    ASSERT_EQ(ProgramState.PresetCount(), 1);
    const ScriptedPrompt::Asked& asked = prompt.asked().last();
    EXPECT_EQ(asked.text, "Enter a name for this preset:");
    EXPECT_EQ(asked.title, "Create Preset");
    EXPECT_EQ(ProgramState.Presets[0].Name, QByteArray("Tables \x80"));
    EXPECT_EQ(ProgramState.Presets[0].Sorts, Sorts({2, 2, 4, 1, 0, 0, 0, 0, 5}));
    ASSERT_EQ(window->lstPresets->topLevelItemCount(), 1);
    EXPECT_EQ(window->lstPresets->topLevelItem(0)->text(0), QString::fromUtf8("Tables €"));
    EXPECT_FALSE(window->lstPresets->topLevelItem(0)->isSelected());

    // A name the preset file cannot hold is refused and nothing is added.
    prompt.queueInput(QString::fromUtf8("日本"));
    window->cmdPresetNew->click();
    EXPECT_EQ(ProgramState.PresetCount(), 1);
}

TEST_F(MainWindowTest, CreateFromCurrentWithoutAnObjectStoresClearedSorts)
{
    ProgramState.Folders.clear();
    ProgramState.Folders.append(FolderEntry{gameFolder + "none/", false});
    openWindow();
    prompt.queueInput("Empty");
    window->cmdPresetNew->click();
    ASSERT_EQ(ProgramState.PresetCount(), 1);
    EXPECT_EQ(ProgramState.Presets[0].Sorts, SortSet{});
}

} // namespace
