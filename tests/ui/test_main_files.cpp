// The file list of the main window: vanished and unreadable files, relisting, deleting to
// the trash, and what closing the window writes.
#include "MainWindowHarness.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <unistd.h>

namespace
{

class MainFilesTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        first = writeFile("a.iff", object(object({}, 128, "Chair", "", 10), 129, "Sofa", "", 20));
        second = writeFile("b.iff", object({}, 200, "Table", "", 30));
        third = writeFile("c.iff", object({}, 300, "Lamp", "", 40));
    }
    QString first, second, third;
};

TEST_F(MainFilesTest, AVanishedFileIsToldAndRemovedAndTheNextOpens)
{
    openWindow();
    QFile::remove(second);
    window->chkAutoSave->setChecked(true);
    window->txtPrice->setText("11");
    clickRow(window->lstFiles, fileRow("b.iff"));

    // The check for the shown object ran first and saved it.
    clsIFF onDisk;
    ASSERT_TRUE(onDisk.LoadFile(first));
    EXPECT_EQ(onDisk.GetPrice(128), 11);
    EXPECT_EQ(prompt.messages(), QStringList{"File could not be located. Removing from list."});
    EXPECT_EQ(rowTexts(window->lstFiles), (QStringList{"a.iff", "c.iff"}));
    EXPECT_EQ(window->txtName->text(), "Lamp");
    EXPECT_EQ(window->CurrentFile, 2);
    // The caption keeps the count of the listing.
    EXPECT_EQ(window->fraFile->title(), "Select a file: (3 found)");
}

TEST_F(MainFilesTest, ClickingTheOpenFileDoesNothingEvenWhenItIsGone)
{
    openWindow();
    QFile::remove(first);
    clickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 3);
}

TEST_F(MainFilesTest, TheLastVanishedFileLeavesTheWindowAsItWas)
{
    ProgramState.Folders = {FolderEntry{gameFolder, false}};
    openWindow();
    for (const QString& path : {second, third})
        QFile::remove(path);
    // c.iff is told and removed; the row then selected, b.iff, is gone as well.
    clickRow(window->lstFiles, fileRow("c.iff"));
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_EQ(rowTexts(window->lstFiles), QStringList{"a.iff"});
    EXPECT_EQ(window->CurrentFile, 0);
    EXPECT_EQ(window->txtName->text(), "Chair");
}

TEST_F(MainFilesTest, RefreshRelistsAndDropsEditsWithoutAsking)
{
    openWindow();
    window->txtPrice->setText("999");
    writeFile("d.iff", object({}, 400, "Rug", "", 1));
    QFile::remove(third);
    window->cmdRefresh->click();
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(rowTexts(window->lstFiles), (QStringList{"a.iff", "b.iff", "d.iff"}));
    EXPECT_EQ(window->fraFile->title(), "Select a file: (3 found)");
    EXPECT_EQ(window->txtPrice->text(), "10");
    // Keys start again from File0.
    EXPECT_EQ(window->lstFiles->topLevelItem(2)->data(0, Qt::UserRole).toString(), "File2");
    clsIFF onDisk;
    ASSERT_TRUE(onDisk.LoadFile(first));
    EXPECT_EQ(onDisk.GetPrice(128), 10);
}

TEST_F(MainFilesTest, SubfolderEntriesListEachFileOnce)
{
    QDir(gameFolder).mkpath("Walls");
    writeFile("Walls/w.iff", object({}, 500, "Wall", "", 1));
    ProgramState.Folders = {FolderEntry{gameFolder + "Walls/", false},
                            FolderEntry{gameFolder, true}};
    openWindow();
    EXPECT_EQ(rowTexts(window->lstFiles), (QStringList{"a.iff", "b.iff", "c.iff", "w.iff"}));
}

TEST_F(MainFilesTest, DeleteFileMovesItToTheTrashAndOpensTheNext)
{
    openWindow();
    clickRow(window->lstFiles, fileRow("b.iff"));
    prompt.queueTrash(false);
    window->cmdDelete->click();
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 3);

    prompt.queueTrash(true);
    window->cmdDelete->click();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_TRUE(QFile::exists(trashFolder() + "/b.iff"));
    EXPECT_EQ(rowTexts(window->lstFiles), (QStringList{"a.iff", "c.iff"}));
    EXPECT_EQ(window->txtName->text(), "Lamp");
    EXPECT_EQ(window->lblFilePath->text(), third);
}

TEST_F(MainFilesTest, DeletingTheOpenFileWithEditsAsksNothingAndSavesNothing)
{
    openWindow();
    window->txtPrice->setText("77");
    prompt.queueTrash(true);
    window->cmdDelete->click();
    // No question about an object of a file that is gone, and nothing written anywhere.
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_EQ(window->txtName->text(), "Table");
    EXPECT_EQ(window->CurrentFile, 1);
    QDir game(gameFolder);
    EXPECT_EQ(game.entryList(QDir::Files), (QStringList{"b.iff", "c.iff"}));
}

TEST_F(MainFilesTest, DeletingTheLastFileClearsThePanel)
{
    ProgramState.Folders = {FolderEntry{gameFolder + "one/", false}};
    QDir(gameFolder).mkpath("one");
    writeFile("one/x.iff", object({}, 128, "Only", "", 5));
    openWindow();
    prompt.queueTrash(true);
    window->cmdDelete->click();
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 0);
    EXPECT_EQ(window->CurrentFile, -1);
    EXPECT_FALSE(window->cmdSave->isEnabled());
    EXPECT_TRUE(window->txtName->text().isEmpty());
    EXPECT_TRUE(window->lblFilePath->text().isEmpty());
    window->cmdSave->click(); // disabled: nothing happens, nothing is asked
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(MainFilesTest, AFileThatCannotBeReadIsToldAndShowsNoObjects)
{
    const QString broken = gameFolder + "broken.iff";
    if (geteuid() == 0) {
        // Root reads any file; this one is a regular file whose reading fails.
        ASSERT_TRUE(QFile::link("/proc/self/mem", broken));
    } else {
        writeFile("broken.iff", object({}, 1, "X", "", 1));
        QFile::setPermissions(broken, QFileDevice::Permissions());
    }
    openWindow();
    clickRow(window->lstFiles, fileRow("broken.iff"));
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(
        prompt.messages().first().startsWith("The file " + broken + " could not be opened: "))
        << prompt.messages().first().toStdString();
    EXPECT_EQ(window->lstObjects->topLevelItemCount(), 0);
    EXPECT_FALSE(window->picNoObjects->isHidden());
    EXPECT_FALSE(window->cmdSave->isEnabled());
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 4);
    // The other files still open.
    clickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_EQ(window->txtName->text(), "Chair");
}

TEST_F(MainFilesTest, ClosingWritesBothDataFiles)
{
    ProgramState.Presets = {Preset{"Mine", {}}};
    openWindow();
    window->close();
    EXPECT_TRUE(prompt.asked().isEmpty());
    QFile presets(dataFolder + "presets.dat");
    QFile folders(dataFolder + "folders.dat");
    ASSERT_TRUE(presets.open(QIODevice::ReadOnly));
    ASSERT_TRUE(folders.open(QIODevice::ReadOnly));
    EXPECT_TRUE(presets.readAll().contains("Mine"));
    EXPECT_TRUE(folders.readAll().contains(
        QFile::encodeName(QDir::toNativeSeparators(gameFolder.chopped(1)).section('/', -1))));
}

TEST_F(MainFilesTest, ClosingWithoutAFileAsksNothing)
{
    ProgramState.Folders = {FolderEntry{gameFolder + "none/", false}};
    openWindow();
    window->close();
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_TRUE(QFile::exists(dataFolder + "presets.dat"));
    EXPECT_TRUE(QFile::exists(dataFolder + "folders.dat"));
}

TEST_F(MainFilesTest, ADataFileThatCannotBeWrittenIsToldAndTheWindowCloses)
{
    // A folder where presets.dat should be: nothing can replace it.
    ASSERT_TRUE(QDir(dataFolder).mkdir("presets.dat"));
    openWindow();
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().first().contains(dataFolder + "presets.dat"))
        << prompt.messages().first().toStdString();
    EXPECT_TRUE(QFile::exists(dataFolder + "folders.dat"));
}

} // namespace
