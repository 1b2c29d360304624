// SPDX-License-Identifier: GPL-3.0-or-later
// Modify Folders with its Add and Edit dialogs: refusals, questions, picker, Remove, relisting.

#include "MainWindowHarness.h"
#include "frmAddFolder.h"
#include "frmEditFolder.h"
#include "frmFolders.h"

namespace
{

const QString kEmpty = "You must enter a folder path.";
const QString kOnList = "This folder is already on the list.";
const QString kTooLong = "This folder path is too long to be kept on the list. A folder path can "
                         "be at most 65535 bytes long.";
const QString kMissing = "This folder does not exist, are you sure you want to continue?";
const QString kRemove = "Are you sure you want to remove this folder?";
// The limit is on bytes; each of these characters takes three: with "ab/", 65536 bytes.
const QString kWide = "/" + QString(21844, QChar(0x4E00));

class FolderWindows : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        for (const char* name : {"Downloads", "downloads", "Objects", "Extra"})
            ASSERT_TRUE(QDir(gameFolder).mkpath(name));
        ProgramState.Folders = {FolderEntry{Dir("Downloads"), true},
                                FolderEntry{Dir("Objects"), false}};
        folders = std::make_unique<frmFolders>([this] { ++relisted; });
        folders->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(folders.get()));
        EXPECT_EQ(QApplication::activeModalWidget(), folders.get()) << "the main window waits";
    }

    // A folder of the game folder as the list holds it, ending in "/".
    QString Dir(const char* name) const { return gameFolder + name + "/"; }

    // The rows (game folder left out), "changed" if changed, the messages since the last look.
    QString Seen()
    {
        QStringList seen{Listed(folders->lstFolders).remove(gameFolder) +
                         (folders->Changed ? " changed" : "")};
        seen += prompt.messages();
        prompt.clearAsked();
        return seen.join(" / ");
    }

    // Opens the dialog, types text unless null, may tick Include Subfolders, then OK or Cancel.
    void Submit(QPushButton* opener, const QString& text, bool subfolders = false,
                bool cancel = false)
    {
        auto ran = WhenModalOpens<FolderDialog>([=](FolderDialog* dialog) {
            if (!text.isNull())
                dialog->txtFolder->setText(text);
            if (subfolders)
                QTest::mouseClick(dialog->chkSubfolders, Qt::LeftButton, {}, QPoint(4, 4));
            QTest::mouseClick(cancel ? dialog->cmdCancel : dialog->cmdOk, Qt::LeftButton);
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        EXPECT_TRUE(*ran);
    }
    void Select(int row) { ClickRow(folders->lstFolders, folders->lstFolders->topLevelItem(row)); }

    int relisted = 0;
    std::unique_ptr<frmFolders> folders;
};

TEST_F(FolderWindows, RefusalsCancelsAndNoesChangeNothingAndDoNotRelist)
{
    for (const QString& refused :
         {QString(""), Dir("Objects"), gameFolder + "Downloads", kWide + "ab", Dir("Gone")})
        Submit(folders->cmdAdd, refused); // Gone: unanswered, so No
    Select(1);
    Submit(folders->cmdEdit, QString());                 // as offered: its own path is no duplicate
    Submit(folders->cmdEdit, Dir("Extra"), false, true); // cancelled
    Submit(folders->cmdEdit, Dir("Downloads"));
    folders->cmdRemove->click(); // unanswered: No
    EXPECT_EQ(Seen(), QStringList({"0#Downloads/ (+)|*1#Objects/", kEmpty, kOnList, kOnList,
                                   kTooLong, kMissing, kOnList, kRemove})
                          .join(" / "));
    folders->close(); // the close box
    EXPECT_EQ(relisted, 0);
}

TEST_F(FolderWindows, EditRemoveAndAddChangeTheListAndClosingRelistsOnce)
{
    Submit(folders->cmdEdit, Dir("downloads")); // another case: another folder; the flag stays
    EXPECT_EQ(Seen(), "*0#downloads/ (+)|1#Objects/ changed");

    // Remove takes the selected entry; with none left, Edit and Remove do nothing.
    folders->Changed = false;
    Select(1);
    prompt.queueAnswer(PromptAnswer::Yes);
    folders->cmdRemove->click();
    EXPECT_EQ(Seen(), "*0#downloads/ (+) changed / " + kRemove);
    prompt.queueAnswer(PromptAnswer::Yes);
    folders->cmdRemove->click();
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<frmEditFolder*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "Edit opened its dialog on an empty list";
            dialog->close();
        }
    });
    folders->cmdEdit->click();
    folders->cmdRemove->click();
    EXPECT_EQ(Seen(), " changed / " + kRemove);

    // Add appends and keeps the selection. The picker's folder shows with its "/" at once; a
    // cancelled pick leaves the box alone.
    folders->Changed = false;
    Submit(folders->cmdAdd, gameFolder + "Extra");
    prompt.queueAnswer(PromptAnswer::Yes);
    Submit(folders->cmdAdd, Dir("Gone"), true);
    Select(1);
    prompt.queueFolder(gameFolder + "Downloads");
    auto ran = WhenModalOpens<frmAddFolder>([&](frmAddFolder* dialog) {
        for (int pick = 0; pick < 2; ++pick) {
            QTest::mouseClick(dialog->cmdBrowse, Qt::LeftButton);
            EXPECT_EQ(dialog->txtFolder->text(), Dir("Downloads"));
        }
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(folders->cmdAdd, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    prompt.queueAnswer(PromptAnswer::Yes);
    Submit(folders->cmdAdd, kWide + "a"); // 65535 bytes: fits
    EXPECT_EQ(Seen(), "0#Extra/|*1#Gone/ (+)|2#Downloads/|3#" + kWide + "a/ changed / " + kMissing +
                          " / " + kMissing);
    QTest::keyClick(folders.get(), Qt::Key_Escape);
    EXPECT_EQ(relisted, 1);
}

} // namespace
