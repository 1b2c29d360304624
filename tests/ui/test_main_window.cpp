// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a person sees it, with lost and unreadable files and a failing data file.
#include "MainWindowHarness.h"
#include "frmAbout.h"

namespace
{

TEST_F(MainWindowHarness, ListsTheFilesAndShowsWhatTheClickedOneHolds)
{
    ObjdSpec bare = CatalogObject(500, 33); // no catalog text
    bare.disabled = 1;
    writeFile("b.iff", object({}, 200, "Table", "Eat here", 150).objd(201, "bare", bare));
    const QString path = writeFile("a.iff", object({}, 128, "Caf\xe9 chair", "\x80 9", 75));
    writeFile("notes.txt", {});
    writeFile("C.IFF", CatalogFixture().bmp(1, "Catalog"));
    ObjdSpec half = CatalogObject(128, 10);
    half.sorts = {1, 1, 1, 0, 0, 0, 0, 0, 1}; // cleared, every list, by a file without objects
    writeFile("d.iff", CatalogFixture()
                           .objd(128, "half", half)
                           .ctss(128, QByteArray("\xFD\xFF\x01\x00\x01Only a name\0", 17))
                           .bmp(128, "icon"));
    openWindow();
    EXPECT_EQ(window->fraFile->title() + ' ' + Listed(window->lstFiles),
              "Select a file: (4 found) *File0a.iff|File1b.iff|File2C.IFF|File3d.iff");
    EXPECT_EQ(panel(), QString::fromUtf8("a.iff|Café chair|€ 9|75|")); // Windows-1252

    ClickRow(window->lstFiles, fileRow("b.iff"));
    // Without catalog text the boxes are grey and off; the rest stays usable.
    ClickRow(window->lstObjects, objectRow(201));
    EXPECT_EQ(panel(), "b.iff|||33|D");
    EXPECT_FALSE(window->txtName->isEnabled() || window->txtDescript->isEnabled());
    EXPECT_TRUE(window->txtPrice->isEnabled());
    EXPECT_EQ(window->txtName->palette().color(QPalette::Base), QColor(224, 224, 224));
    ClickRow(window->lstFiles, fileRow("d.iff")); // a name without a description
    EXPECT_EQ(panel(), "d.iff|Only a name||10|");
    EXPECT_TRUE(!window->txtName->isReadOnly() && window->txtDescript->isReadOnly());
    EXPECT_TRUE(window->picNoObjects->isHidden() && prompt.asked().isEmpty());

    // A file without objects: the panel is emptied and off; the file and window buttons stay.
    ClickRow(window->lstFiles, fileRow("C.IFF"));
    EXPECT_FALSE(window->picNoObjects->isHidden());
    EXPECT_EQ(window->lblNoObjects->text(), " No objects were found in this file!");
    EXPECT_EQ(window->CurrentObject, -1);
    EXPECT_EQ(panel() + shownSorts(), "C.IFF||||||||||||None");
    EXPECT_TRUE(window->txtDescript->toolTip().isEmpty());
    EXPECT_EQ(window->picIcon->pixmap().toImage(),
              QPixmap::fromImage(window->NoIconPicture()).toImage());
    QList<QWidget*> off{window->lstObjects,  window->txtName,     window->txtPrice,
                        window->txtDescript, window->chkDisabled, window->lstPresets,
                        window->cmdSave};
    off.append(QList<QWidget*>(window->lstSort.cbegin(), window->lstSort.cend()));
    for (const QWidget* control : window->findChildren<QWidget*>())
        if (qobject_cast<const QAbstractButton*>(control) || off.contains(control) ||
            control == window->lstFiles)
            EXPECT_EQ(control->isEnabled(), !off.contains(control)) << off.indexOf(control);

    // The price box keeps a leading minus and digits; Ctrl+S alone saves.
    ClickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_TRUE(window->picNoObjects->isHidden() && window->lstObjects->isEnabled());
    window->txtPrice->clear();
    QTest::keyClicks(window->txtPrice, "-1-2a");
    EXPECT_EQ(window->txtPrice->text(), "-12");
    QTest::keyClick(window->txtPrice, Qt::Key_Home);
    QTest::keyClicks(window->txtPrice, "x"); // refused: the cursor stays before the minus
    EXPECT_EQ(window->txtPrice->cursorPosition(), 0);
    window->txtPrice->setText("99");
    window->txtPrice->setFocus();
    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(onDisk(path)->GetPrice(128), 75);
    QTest::keyClick(window->txtPrice, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(onDisk(path)->GetPrice(128), 99);
    window->txtPrice->setText("98"); // and with no control focused
    window->txtPrice->clearFocus();
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(onDisk(path)->GetPrice(128), 98);
}

// French: the label names it, US English with a note where missing, nothing moves, bytes kept.
TEST_F(MainWindowHarness, AFrenchGameShowsItsLanguageAndFallsBackToUsEnglish)
{
    const auto table = [](const QByteArray& french) {
        QList<CtssString> strings;
        for (quint8 code = 1; code <= 20; ++code) {
            strings.append({code, code == 3 ? french : QByteArray("Chair"), "c"});
            strings.append({code, code == 3 ? QByteArray("Si\xe8ge") : QByteArray("Seat"), ""});
        }
        return MakeCtssBody(strings);
    };
    const QString path = writeFile(
        "a.iff", CatalogFixture().objd(128, "chair", CatalogObject(1, 5)).ctss(1, table("Chaise")));
    writeFile("b.iff", object({}, 200, "Lamp", "Light", 9));
    openWindow();
    QList<QRect> usEnglish;
    for (const QWidget* w : window->findChildren<QWidget*>())
        usEnglish << w->geometry();
    EXPECT_EQ(window->lblName->text(), "Name:");

    ProgramState.GameLanguage = 3;
    openWindow();
    EXPECT_EQ(window->lblName->text(), "Name (French):");
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    ASSERT_EQ(widgets.size(), usEnglish.size());
    for (int i = 0; i < widgets.size(); ++i)
        if (widgets[i] == window->lblName)
            EXPECT_EQ(widgets[i]->pos(), usEnglish[i].topLeft()); // grown to hold the language
        else if (widgets[i] != window->lblLanguageNote)
            EXPECT_EQ(widgets[i]->geometry(), usEnglish[i]) << i;
    EXPECT_EQ(panel(), QString::fromUtf8("a.iff|Chaise|Siège|5|"));
    EXPECT_TRUE(window->lblLanguageNote->isHidden());
    ClickRow(window->lstFiles, fileRow("b.iff"));
    EXPECT_EQ(panel(), "b.iff|Lamp|Light|9|");
    EXPECT_TRUE(window->lblLanguageNote->isVisible());
    EXPECT_EQ(window->lblLanguageNote->text(), "(US English: no text for French)");

    ClickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_TRUE(window->lblLanguageNote->isHidden());
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->Resource("CTSS1").Body(), table("Chaise"));
    window->txtName->setText(QString::fromUtf8("Chaise haute"));
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->Resource("CTSS1").Body(), table("Chaise haute"));

    // The longest language name fits, in a smaller font where it must.
    ProgramState.GameLanguage = 18;
    openWindow();
    ClickRow(window->lstFiles, fileRow("b.iff"));
    for (const QLabel* label : {window->lblName, window->lblLanguageNote}) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        EXPECT_TRUE(label->text().contains("Traditional Chinese"));
    }
}

TEST_F(MainWindowHarness, SortsAndPresetsAreMarkedAndSubFunctionRowsFollowTheFunction)
{
    // Seating|Surfaces, Dining Chairs, Kitchen|Study, Downtown 16 (no row), Pool; Build Mode 8.
    const QString path =
        writeFile("a.iff", object(object({}, 128, "A", "", 1, {3, 1, 129, 16, 0, 0, 0, 0, 7}), 129,
                                  "B", "", 1, {0, 0, 0, 0, 0, 0, 0, 0, 8}));
    ProgramState.Presets = {Preset{"Lamps", {128, 8, 2, 0, 0, 0, 0, 0, 3}},
                            Preset{"Bath", {16, 4, 4, 0, 0, 0, 0, 0, 0}}};
    openWindow();
    // No Function row is selected: the first checked one picks the group. Presets: marked only.
    EXPECT_EQ(shownSorts(), "Seating,Surfaces|Dining Chairs|Kitchen,Study||||||Pool");
    EXPECT_EQ(Listed(window->lstPresets), "*0#Lamps|1#Bath");
    // Selecting the checked Surfaces row shows its group; the bits stay.
    ClickRow(window->lstSort[0], RowByText(window->lstSort[0], "Surfaces"));
    EXPECT_EQ(CheckedTexts(window->lstSort[1]), QStringList{"Counters"});

    ClickRow(window->lstObjects, objectRow(129));
    EXPECT_EQ(shownSorts(), "||||||||None");         // Build Mode 8: beyond Pool
    EXPECT_TRUE(Rows(window->lstSort[1]).isEmpty()); // Function 0: no Sub-Function rows
    EXPECT_TRUE(prompt.asked().isEmpty());           // a selection is not an edit
    // Checking a Function by hand rebuilds the rows at once.
    ClickCheckBox(window->lstSort[0], RowByText(window->lstSort[0], "Plumbing"));
    EXPECT_EQ(Rows(window->lstSort[1]).value(0), "Toilets");

    // A clicked preset is an unsaved edit of every slot.
    ClickRow(window->lstPresets, RowByText(window->lstPresets, "Lamps"));
    EXPECT_EQ(shownSorts(), "Lighting|Ceiling Lamps|Bedroom||||||Stairs");
    ClickRow(window->lstPresets, RowByText(window->lstPresets, "Bath"));
    EXPECT_EQ(shownSorts(), "Plumbing|Sinks|Bathroom||||||None");
    EXPECT_EQ(stored(path, 129), "B||1||0|0|0|0|0|0|0|0|8");
    QTest::mouseClick(window->cmdSave, Qt::LeftButton);
    EXPECT_EQ(stored(path, 129), "B||1||16|4|4|0|0|0|0|0|0");

    // Create From Current stores what the lists show, and is added unselected.
    ClickCheckBox(window->lstSort[3], RowByText(window->lstSort[3], "Street"));
    prompt.queueInput(QStringLiteral("Caf\u00e9 chairs"));
    QTest::mouseClick(window->cmdPresetNew, Qt::LeftButton);
    EXPECT_EQ(prompt.asked().value(0).title + ": " + prompt.asked().value(0).text,
              "Create Preset: Enter a name for this preset:");
    EXPECT_EQ(ProgramState.Presets.value(2),
              (Preset{"Caf\xE9 chairs", {16, 4, 4, 8, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(Listed(window->lstPresets), QStringLiteral("0#Lamps|*1#Bath|2#Caf\u00e9 chairs"));
}

TEST_F(MainWindowHarness, AboutShowsTheVersionAndOpensTheHomePageWhenThereIsOne)
{
    ProgramState.VersionText = "1.00";
    openWindow();
    auto ran = WhenModalOpens<frmAbout>([](frmAbout* about) {
        EXPECT_EQ(about->windowTitle() + ' ' + about->lblVersion->text() + ' ' +
                      about->lblAbout[0]->text(),
                  "About v1.00 Free software under the GNU General Public License, version 3 "
                  "or later.");
        ProgramState.Presets = {Preset{"Added", {}}};
        about->cmdOK->click();
    });
    window->cmdAbout->click();
    EXPECT_TRUE(*ran);
    EXPECT_EQ(SelectedTexts(window->lstPresets), QStringList{"Added"}) << "relisted after";
    for (const QString& home : {QString(), QStringLiteral("https://example.org/kestrane/")}) {
        prompt.clearAsked();
        frmAbout about(nullptr, home);
        about.show();
        EXPECT_EQ(about.cmdWeb->isVisible(), !home.isEmpty());
        EXPECT_EQ(about.cmdOK->geometry(), QRect(232, 152, 152, 25)) << "OK keeps its place";
        for (const QLabel* notice : about.lblAbout) // each notice shown whole in its place
            EXPECT_LE(notice->heightForWidth(notice->width()), notice->height())
                << notice->text().toStdString();
        about.cmdWeb_Click();
        EXPECT_EQ(prompt.asked().value(0).text, home);
    }
}

class MainFilesTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        writeFile("a.iff", object(object({}, 128, "Chair", "", 10), 129, "Sofa", "", 20));
        second = writeFile("b.iff", object({}, 200, "Table", "", 30));
        third = writeFile("c.iff", object({}, 300, "Lamp", "", 40));
        openWindow();
    }
    QString second, third;
};

TEST_F(MainFilesTest, RefreshRelistsWithoutAskingAndVanishedFilesAreToldAndRemoved)
{
    window->txtPrice->setText("999");
    writeFile("d.iff", object({}, 400, "Rug", "", 1));
    QFile::remove(third);
    window->cmdRefresh->click(); // the edits go
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(Listed(window->lstFiles), "*File0a.iff|File1b.iff|File2d.iff");
    EXPECT_EQ(panel(), "a.iff|Chair||10|");

    QFile::remove(second);
    QFile::remove(gameFolder + "d.iff");
    ClickRow(window->lstFiles, fileRow("b.iff"));
    // The row then selected (d.iff) has vanished as well.
    EXPECT_EQ(prompt.messages(), QStringList(2, "File could not be located. Removing from list."));
    EXPECT_EQ(Rows(window->lstFiles), QStringList{"a.iff"});
    EXPECT_EQ(window->CurrentFile, 0);
    EXPECT_EQ(window->fraFile->title(), "Select a file: (3 found)"); // count of the listing
}

TEST_F(MainFilesTest, DeleteMovesTheOpenFileToTheTrashWithoutSavingItsEdits)
{
    ClickRow(window->lstFiles, fileRow("b.iff"));
    const QByteArray before = ReadFile(second);
    // Declined: nothing. Agreed, but a file blocks the trash folder: told, and the list stays.
    QDir().mkpath(trashFolder().chopped(7));
    WriteFile(trashFolder().chopped(1), "in the way");
    for (const bool agreed : {false, true}) {
        prompt.queueTrash(agreed);
        window->cmdDelete->click();
        EXPECT_EQ(Rows(window->lstFiles), (QStringList{"a.iff", "b.iff", "c.iff"}));
        EXPECT_EQ(ReadFile(second), before);
    }
    const QString told = OneMessage(prompt);
    EXPECT_TRUE(told.startsWith("The file " + second + " could not be moved to the trash: "));
    EXPECT_FALSE(told.endsWith(": ")) << "with the reason";

    QFile::remove(trashFolder().chopped(1));
    window->txtPrice->setText("77");
    prompt.queueTrash(true);
    window->cmdDelete->click();
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(ReadFile(trashFolder() + "b.iff"), before);
    EXPECT_EQ(Rows(window->lstFiles) << panel(),
              (QStringList{"a.iff", "c.iff", "c.iff|Lamp||40|"}));

    // The open file deleted and the only other one vanished: the panel is cleared, Save off.
    ProgramState.Folders = {FolderEntry{gameFolder + "one/", false}};
    MakeFile(gameFolder + "one/p.iff", object({}, 128, "Pot", "", 7).fileBytes());
    writeFile("one/q.iff", object({}, 128, "Pan", "", 8));
    window->cmdRefresh->click();
    window->txtPrice->setText("6");
    QFile::remove(gameFolder + "one/q.iff");
    prompt.queueTrash(true);
    window->cmdDelete->click();
    EXPECT_EQ(prompt.messages(), QStringList{"File could not be located. Removing from list."});
    EXPECT_EQ(window->CurrentFile, -1);
    EXPECT_FALSE(window->cmdSave->isEnabled() || window->lstObjects->isEnabled());
    EXPECT_EQ(panel() + shownSorts(), "||||||||||||None");
}

TEST_F(MainFilesTest, AFileThatCannotBeReadOrADataFileThatCannotBeWrittenIsTold)
{
    const QString broken = gameFolder + "broken.iff";
    ASSERT_TRUE(QFile::link("/proc/self/mem", broken)); // a file whose reading fails, even for root
    window->cmdRefresh->click();
    ClickRow(window->lstFiles, fileRow("broken.iff"));
    EXPECT_TRUE(OneMessage(prompt).startsWith("The file " + broken + " could not be opened: "));
    EXPECT_EQ(window->lstObjects->topLevelItemCount(), 0);
    EXPECT_FALSE(window->picNoObjects->isHidden() || window->cmdSave->isEnabled());
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 4) << "still listed";

    // At exit: told once, by name, and the window still closes.
    ASSERT_TRUE(QDir(dataFolder).mkdir("presets.dat")); // nothing can replace a folder
    window->close();
    EXPECT_FALSE(window->isVisible());
    const QString told = OneMessage(prompt);
    EXPECT_EQ(told.count(dataFolder + "presets.dat"), 1) << "named once";
    EXPECT_TRUE(told.startsWith("The presets could not be saved to "));
    EXPECT_TRUE(QFile::exists(dataFolder + "folders.dat"));
}

} // namespace
