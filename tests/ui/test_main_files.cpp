// The file list of the main window: vanished and unreadable files, relisting, deleting to
// the trash, and a data file that cannot be written at exit.
#include "IffBytes.h"
#include "MainWindowHarness.h"

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

TEST_F(MainFilesTest, AVanishedFileIsToldAndRemovedAfterTheCheck)
{
    openWindow();
    QFile::remove(second);
    QFile::remove(third);
    window->chkAutoSave->setChecked(true);
    window->txtPrice->setText("11");
    ClickRow(window->lstFiles, fileRow("b.iff"));

    EXPECT_EQ(onDisk(first)->GetPrice(128), 11); // the check ran first
    // The row then selected (c.iff) has vanished as well.
    EXPECT_EQ(prompt.messages(), QStringList(2, "File could not be located. Removing from list."));
    EXPECT_EQ(RowTexts(window->lstFiles), QStringList{"a.iff"});
    EXPECT_EQ(window->CurrentFile, 0);
    EXPECT_EQ(window->fraFile->title(), "Select a file: (3 found)"); // count of the listing

    // Clicking the open file does nothing, even when it is gone.
    QFile::remove(first);
    ClickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_EQ(prompt.messages().size(), 2);
}

TEST_F(MainFilesTest, RefreshRelistsAndDropsEditsWithoutAsking)
{
    openWindow();
    window->txtPrice->setText("999");
    writeFile("d.iff", object({}, 400, "Rug", "", 1));
    QFile::remove(third);
    window->cmdRefresh->click();
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(RowTexts(window->lstFiles), (QStringList{"a.iff", "b.iff", "d.iff"}));
    EXPECT_EQ(RowKeys(window->lstFiles).last(), "File2");
    EXPECT_EQ(window->txtPrice->text(), "10");
    EXPECT_EQ(onDisk(first)->GetPrice(128), 10);
}

TEST_F(MainFilesTest, DeleteMovesTheOpenFileToTheTrashWithoutSavingItsEdits)
{
    openWindow();
    ClickRow(window->lstFiles, fileRow("b.iff"));
    const QByteArray before = bytesOf(second);
    prompt.queueTrash(false);
    window->cmdDelete->click();
    EXPECT_EQ(bytesOf(second), before);
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 3);
    EXPECT_TRUE(prompt.messages().isEmpty());

    // Agreed, but the trash cannot take it (a file holds its folder's name): told, and the
    // list stays.
    QDir().mkpath(trashFolder().chopped(7));
    WriteFile(trashFolder().chopped(1), "in the way");
    prompt.queueTrash(true);
    window->cmdDelete->click();
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages()[0].startsWith("The file " + second +
                                                " could not be moved to the trash: "));
    EXPECT_FALSE(prompt.messages()[0].endsWith(": ")) << "with the reason";
    EXPECT_EQ(RowTexts(window->lstFiles), (QStringList{"a.iff", "b.iff", "c.iff"}));
    EXPECT_EQ(bytesOf(second), before);
    QFile::remove(trashFolder().chopped(1));
    prompt.clearAsked();
    window->txtPrice->setText("77");
    prompt.queueTrash(true);
    window->cmdDelete->click();
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(QDir(gameFolder).entryList(QDir::Files), (QStringList{"a.iff", "c.iff"}));
    EXPECT_EQ(bytesOf(trashFolder() + "b.iff"), before);
    EXPECT_EQ(RowTexts(window->lstFiles), (QStringList{"a.iff", "c.iff"}));
    EXPECT_EQ(window->txtName->text(), "Lamp");
    EXPECT_EQ(window->lblFilePath->text(), third);

    // The last file gone: the panel is cleared and Save does nothing.
    ProgramState.Folders = {FolderEntry{gameFolder + "one/", false}};
    QDir(gameFolder).mkpath("one");
    writeFile("one/x.iff", object({}, 128, "Only", "", 5));
    window->cmdRefresh->click();
    window->txtPrice->setText("6");
    // The open file deleted while the only other row's file has vanished: nothing is left,
    // so the panel is cleared the same way.
    for (const char* vanished : {"", "q.iff"}) {
        if (*vanished) {
            writeFile("one/p.iff", object({}, 128, "Pot", "", 7));
            writeFile("one/q.iff", object({}, 128, "Pan", "", 8));
            window->cmdRefresh->click();
            ASSERT_EQ(window->txtName->text(), "Pot");
            QFile::remove(gameFolder + "one/" + vanished);
        }
        prompt.clearAsked();
        prompt.queueTrash(true);
        window->cmdDelete->click();
        EXPECT_EQ(prompt.messages().size(), *vanished ? 1 : 0);
        EXPECT_EQ(window->CurrentFile, -1);
        EXPECT_EQ(window->lstFiles->topLevelItemCount(), 0);
        EXPECT_FALSE(window->cmdSave->isEnabled() || window->lstObjects->isEnabled());
        EXPECT_EQ(window->txtName->text() + window->lblFilePath->text(), "");
    }
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
    ClickRow(window->lstFiles, fileRow("broken.iff"));
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages()[0].startsWith("The file " + broken + " could not be opened: "));
    EXPECT_EQ(window->lstObjects->topLevelItemCount(), 0);
    EXPECT_FALSE(window->picNoObjects->isHidden());
    EXPECT_FALSE(window->cmdSave->isEnabled());
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 4);
    ClickRow(window->lstFiles, fileRow("a.iff"));
    EXPECT_EQ(window->txtName->text(), "Chair");
}

TEST_F(MainFilesTest, ADataFileThatCannotBeWrittenIsToldAndTheWindowCloses)
{
    ASSERT_TRUE(QDir(dataFolder).mkdir("presets.dat")); // nothing can replace a folder
    openWindow();
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages()[0].count(dataFolder + "presets.dat"), 1) << "named once";
    EXPECT_TRUE(prompt.messages()[0].startsWith("The presets could not be saved to "));
    EXPECT_TRUE(QFile::exists(dataFolder + "folders.dat"));
}

} // namespace
