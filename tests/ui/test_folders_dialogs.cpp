// Modify Folders with its Add and Edit dialogs, driven through their real widgets: the
// refusals and questions of OK, the folder picker, Remove, and relisting on close.

#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "frmAddFolder.h"
#include "frmEditFolder.h"
#include "frmFolders.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

static bool operator==(const FolderEntry& a, const FolderEntry& b)
{
    return a.Path == b.Path && a.IncludeSubfolders == b.IncludeSubfolders;
}

namespace
{

class FolderWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        ASSERT_TRUE(temp.isValid());
        for (const char* name : {"Downloads", "downloads", "Objects", "Extra"})
            ASSERT_TRUE(QDir(temp.path()).mkpath(name));
    }

    // A folder of the temp dir, as the list holds it (ending in "/").
    QString Dir(const char* name) const { return temp.path() + "/" + name + "/"; }
    QString Missing() const { return temp.path() + "/Gone/"; }

    void Open(const QList<FolderEntry>& folders)
    {
        ProgramState.Folders = folders;
        window = std::make_unique<frmFolders>([this] { ++relisted; }, nullptr);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QList<FolderEntry> TwoFolders() const
    {
        return {FolderEntry{Dir("Downloads"), true}, FolderEntry{Dir("Objects"), false}};
    }

    // Presses Add, types path (and ticks the box), presses OK in the dialog; tells whether the
    // dialog was still open after OK.
    bool AddThroughDialog(const QString& path, bool subfolders = false)
    {
        auto stayedOpen = std::make_shared<bool>(false);
        auto ran = WhenModalOpens<frmAddFolder>([=](frmAddFolder* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "Add Folder");
            EXPECT_TRUE(dialog->txtFolder->text().isEmpty());
            EXPECT_FALSE(dialog->chkSubfolders->isChecked());
            QTest::keyClicks(dialog->txtFolder, path);
            if (subfolders)
                QTest::mouseClick(dialog->chkSubfolders, Qt::LeftButton, {}, QPoint(4, 4));
            QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
            *stayedOpen = dialog->isVisible();
            if (*stayedOpen) // what was typed is still there
                EXPECT_EQ(dialog->txtFolder->text(), path);
        });
        QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
        EXPECT_TRUE(*ran);
        return *stayedOpen;
    }

    ProgramStateGuard guard;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    QTemporaryDir temp;
    int relisted = 0;
    std::unique_ptr<frmFolders> window;
};

TEST_F(FolderWindows, ListsTheFoldersWithKeysAndSubfolderMarks)
{
    Open(TwoFolders());
    EXPECT_EQ(window->windowTitle(), "Modify Folders");
    EXPECT_EQ(RowTexts(window->lstFolders),
              QStringList({Dir("Downloads") + " (+)", Dir("Objects")}));
    EXPECT_EQ(RowKeys(window->lstFolders), QStringList({"0#", "1#"}));
    EXPECT_EQ(window->SelectedFolder(), 0);
    EXPECT_FALSE(window->Changed);
}

TEST_F(FolderWindows, AddStoresTheFolderWithATrailingSlashAndKeepsTheSelection)
{
    Open(TwoFolders());
    ClickRow(window->lstFolders, window->lstFolders->topLevelItem(1));
    const QString typed = temp.path() + "/Extra"; // no trailing "/"
    EXPECT_FALSE(AddThroughDialog(typed, true));

    ASSERT_EQ(ProgramState.FolderCount(), 3);
    EXPECT_EQ(ProgramState.Folders[2], (FolderEntry{Dir("Extra"), true}));
    EXPECT_TRUE(window->Changed);
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(RowTexts(window->lstFolders).last(), Dir("Extra") + " (+)");
    EXPECT_EQ(window->SelectedFolder(), 1) << "the row selected before Add is selected again";
}

TEST_F(FolderWindows, AddRefusesAFolderAlreadyOnTheListButNotOneInOtherCase)
{
    Open(TwoFolders());
    EXPECT_TRUE(AddThroughDialog(Dir("Objects")));
    EXPECT_EQ(prompt.messages(), QStringList({"This folder is already on the list."}));
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.asked()[0].title, "Kestrane");
    EXPECT_EQ(ProgramState.Folders, TwoFolders());
    EXPECT_FALSE(window->Changed);

    prompt.clearAsked();
    EXPECT_FALSE(AddThroughDialog(Dir("downloads")));
    EXPECT_TRUE(prompt.asked().isEmpty());
    ASSERT_EQ(ProgramState.FolderCount(), 3);
    EXPECT_EQ(ProgramState.Folders[2].Path, Dir("downloads"));
}

TEST_F(FolderWindows, AddAsksAboutAMissingFolder)
{
    Open(TwoFolders());
    EXPECT_TRUE(AddThroughDialog(Missing())); // unanswered: No
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text,
              "This folder does not exist, are you sure you want to continue?");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked()[0].title, "Kestrane");
    EXPECT_EQ(ProgramState.Folders, TwoFolders());

    // Yes adds it, twice over: a missing folder is not checked for duplicates.
    prompt.queueAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(AddThroughDialog(Missing()));
    prompt.queueAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(AddThroughDialog(temp.path() + "/Gone"));
    ASSERT_EQ(ProgramState.FolderCount(), 4);
    EXPECT_EQ(ProgramState.Folders[2].Path, Missing());
    EXPECT_EQ(ProgramState.Folders[3].Path, Missing());
    EXPECT_TRUE(window->Changed);
}

TEST_F(FolderWindows, AddRefusesAnEmptyOrOverlongPath)
{
    Open(TwoFolders());
    EXPECT_TRUE(AddThroughDialog(QString()));
    EXPECT_EQ(prompt.messages(), QStringList({"You must enter a folder path."}));

    prompt.clearAsked();
    // The limit is on bytes: each of these characters takes three.
    const QString wide = "/" + QString(21844, QChar(0x4E00));
    auto ran = WhenModalOpens<frmAddFolder>([&](frmAddFolder* dialog) {
        dialog->txtFolder->setText(wide + "ab"); // 65536 bytes with the "/" added
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
    });
    QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    ASSERT_EQ(prompt.asked().size(), 1) << "nothing more is asked about a path too long";
    EXPECT_TRUE(prompt.asked()[0].text.contains("too long"));
    EXPECT_EQ(ProgramState.Folders, TwoFolders());

    prompt.clearAsked();
    prompt.queueAnswer(PromptAnswer::Yes);
    ran = WhenModalOpens<frmAddFolder>([&](frmAddFolder* dialog) {
        dialog->txtFolder->setText(wide + "a"); // 65535 bytes: still fits
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
    });
    QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    ASSERT_EQ(ProgramState.FolderCount(), 3);
    EXPECT_EQ(QFile::encodeName(ProgramState.Folders[2].Path).size(), 65535);
}

TEST_F(FolderWindows, BrowseShowsThePickedFolderWithItsSlash)
{
    Open(TwoFolders());
    prompt.queueFolder(temp.path() + "/Extra");
    auto ran = WhenModalOpens<frmAddFolder>([&](frmAddFolder* dialog) {
        QTest::mouseClick(dialog->cmdBrowse, Qt::LeftButton);
        EXPECT_EQ(dialog->txtFolder->text(), Dir("Extra"));
        // A cancelled picker leaves the box alone.
        QTest::mouseClick(dialog->cmdBrowse, Qt::LeftButton);
        EXPECT_EQ(dialog->txtFolder->text(), Dir("Extra"));
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    ASSERT_EQ(prompt.asked().size(), 2);
    EXPECT_EQ(prompt.asked()[0].kind, ScriptedPrompt::Kind::Folder);
    EXPECT_EQ(prompt.asked()[0].text, "Select a folder:");
    ASSERT_EQ(ProgramState.FolderCount(), 3);
    EXPECT_EQ(ProgramState.Folders[2].Path, Dir("Extra"));
}

TEST_F(FolderWindows, CancelChangesNothing)
{
    Open(TwoFolders());
    auto ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        dialog->txtFolder->setText(Dir("Extra"));
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    EXPECT_EQ(ProgramState.Folders, TwoFolders());
    EXPECT_FALSE(window->Changed);
    QTest::mouseClick(window->cmdOk, Qt::LeftButton);
    EXPECT_EQ(relisted, 0);
}

TEST_F(FolderWindows, EditWithoutChangeLeavesChangedAndDoesNotRelist)
{
    Open(TwoFolders());
    ClickRow(window->lstFolders, window->lstFolders->topLevelItem(1));
    auto ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Edit Folder");
        EXPECT_EQ(dialog->EditIndex, 1);
        EXPECT_EQ(dialog->txtFolder->text(), Dir("Objects"));
        EXPECT_FALSE(dialog->chkSubfolders->isChecked());
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton); // its own path is no duplicate
        EXPECT_FALSE(dialog->isVisible());
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_FALSE(window->Changed);
    EXPECT_EQ(window->SelectedFolder(), 1);
    window->close(); // the close box
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(relisted, 0);
}

TEST_F(FolderWindows, EditingTheFlagMarksChangedAndRelistsOnceOnClose)
{
    Open(TwoFolders());
    auto ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        EXPECT_TRUE(dialog->chkSubfolders->isChecked());
        QTest::mouseClick(dialog->chkSubfolders, Qt::LeftButton, {}, QPoint(4, 4));
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    EXPECT_EQ(ProgramState.Folders[0], (FolderEntry{Dir("Downloads"), false}));
    EXPECT_EQ(RowTexts(window->lstFolders).first(), Dir("Downloads"));
    EXPECT_TRUE(window->Changed);
    EXPECT_EQ(relisted, 0) << "relisting waits for the window to close";
    window->close();
    EXPECT_EQ(relisted, 1);
}

TEST_F(FolderWindows, EditRefusesAPathHeldByAnotherEntry)
{
    Open(TwoFolders());
    auto ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        dialog->txtFolder->setText(temp.path() + "/Objects");
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    EXPECT_EQ(prompt.messages(), QStringList({"This folder is already on the list."}));
    EXPECT_EQ(ProgramState.Folders, TwoFolders());
    EXPECT_FALSE(window->Changed);
}

TEST_F(FolderWindows, EditToAMissingFolderAsksFirst)
{
    Open(TwoFolders());
    prompt.queueAnswer(PromptAnswer::Yes);
    auto ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        dialog->txtFolder->setText(Missing());
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Critical);
    EXPECT_EQ(ProgramState.Folders[0], (FolderEntry{Missing(), true}));
    QTest::mouseClick(window->cmdOk, Qt::LeftButton);
    EXPECT_EQ(relisted, 1);
}

TEST_F(FolderWindows, RemoveAsksThenRemovesTheSelectedEntry)
{
    QList<FolderEntry> three = TwoFolders();
    three.append(FolderEntry{Dir("Extra"), false});
    Open(three);
    ClickRow(window->lstFolders, window->lstFolders->topLevelItem(1));

    QTest::mouseClick(window->cmdRemove, Qt::LeftButton); // unanswered: No
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, "Are you sure you want to remove this folder?");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(ProgramState.Folders, three);
    EXPECT_FALSE(window->Changed);

    prompt.queueAnswer(PromptAnswer::Yes);
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton);
    const QList<FolderEntry> left = {three[0], three[2]};
    EXPECT_EQ(ProgramState.Folders, left);
    EXPECT_EQ(RowKeys(window->lstFolders), QStringList({"0#", "1#"}));
    EXPECT_EQ(window->SelectedFolder(), 0);
    EXPECT_TRUE(window->Changed);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(relisted, 1);
}

TEST_F(FolderWindows, RemoveAndEditOnAnEmptyListDoNothing)
{
    Open({FolderEntry{Dir("Objects"), false}});
    prompt.queueAnswer(PromptAnswer::Yes);
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton);
    EXPECT_EQ(ProgramState.FolderCount(), 0);
    EXPECT_EQ(window->lstFolders->topLevelItemCount(), 0);

    prompt.clearAsked();
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton);
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<frmEditFolder*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "Edit opened its dialog on an empty list";
            dialog->close();
        }
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), window.get());
    EXPECT_EQ(ProgramState.FolderCount(), 0);
}

} // namespace
