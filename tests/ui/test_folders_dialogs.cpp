// Modify Folders with its Add and Edit dialogs, driven through their real widgets: the
// refusals and questions of OK, the folder picker, Remove, and relisting on close.

#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "ScriptedPrompt.h"
#include "frmAddFolder.h"
#include "frmEditFolder.h"
#include "frmFolders.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

namespace
{

constexpr auto Exclamation = PromptIcon::Exclamation;
constexpr auto Ok = PromptButtons::Ok;

class FolderWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        ASSERT_TRUE(temp.isValid());
        for (const char* name : {"Downloads", "downloads", "Objects", "Extra"})
            ASSERT_TRUE(QDir(temp.path()).mkpath(name));
        ProgramState.Folders = {FolderEntry{Dir("Downloads"), true},
                                FolderEntry{Dir("Objects"), false}};
        initial = ProgramState.Folders;
        window = std::make_unique<frmFolders>([this] { ++relisted; });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A folder of the temp dir as the list holds it, ending in "/".
    QString Dir(const char* name) const { return temp.path() + "/" + name + "/"; }

    // Opens the Add (or Edit) dialog, puts text in its box, presses OK; tells whether the
    // dialog stayed open.
    template <typename Dialog>
    bool Submit(QPushButton* opener, const QString& text, bool toggleSubfolders = false)
    {
        auto stayedOpen = std::make_shared<bool>(false);
        auto ran = WhenModalOpens<Dialog>([=](Dialog* dialog) {
            dialog->txtFolder->setText(text);
            if (toggleSubfolders)
                QTest::mouseClick(dialog->chkSubfolders, Qt::LeftButton, {}, QPoint(4, 4));
            QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
            *stayedOpen = dialog->isVisible();
            if (*stayedOpen)
                EXPECT_EQ(dialog->txtFolder->text(), text) << "a refusal changed the box";
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        EXPECT_TRUE(*ran);
        return *stayedOpen;
    }
    bool Add(const QString& text, bool subfolders = false)
    {
        return Submit<frmAddFolder>(window->cmdAdd, text, subfolders);
    }
    bool Edit(const QString& text, bool toggleSubfolders = false)
    {
        return Submit<frmEditFolder>(window->cmdEdit, text, toggleSubfolders);
    }

    ProgramStateGuard guard;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    QTemporaryDir temp;
    QList<FolderEntry> initial;
    int relisted = 0;
    std::unique_ptr<frmFolders> window;
};

TEST_F(FolderWindows, AddTypedOrPickedFolderKeepsTheSelectedRow)
{
    EXPECT_EQ(RowTexts(window->lstFolders),
              QStringList({Dir("Downloads") + " (+)", Dir("Objects")}));
    EXPECT_EQ(RowKeys(window->lstFolders), QStringList({"0#", "1#"}));
    ClickRow(window->lstFolders, window->lstFolders->topLevelItem(1));

    EXPECT_FALSE(Add(temp.path() + "/Extra", true)); // stored with its "/"
    ASSERT_EQ(ProgramState.FolderCount(), 3);
    EXPECT_EQ(ProgramState.Folders[2], (FolderEntry{Dir("Extra"), true}));
    EXPECT_EQ(RowTexts(window->lstFolders).last(), Dir("Extra") + " (+)");
    EXPECT_EQ(window->SelectedFolder(), 1);
    EXPECT_TRUE(window->Changed);

    // The picker: its folder shows with "/" at once; a cancel leaves the box alone.
    prompt.queueFolder(temp.path() + "/downloads");
    auto ran = WhenModalOpens<frmAddFolder>([&](frmAddFolder* dialog) {
        QTest::mouseClick(dialog->cmdBrowse, Qt::LeftButton);
        EXPECT_EQ(dialog->txtFolder->text(), Dir("downloads"));
        QTest::mouseClick(dialog->cmdBrowse, Qt::LeftButton);
        EXPECT_EQ(dialog->txtFolder->text(), Dir("downloads"));
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton); // other case: a new folder
    });
    QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    ASSERT_EQ(prompt.asked().size(), 2);
    EXPECT_EQ(prompt.asked()[0].kind, ScriptedPrompt::Kind::Folder);
    EXPECT_EQ(prompt.asked()[0].text, "Select a folder:");
    ASSERT_EQ(ProgramState.FolderCount(), 4);
    EXPECT_EQ(ProgramState.Folders[3].Path, Dir("downloads"));
}

TEST_F(FolderWindows, AddRefusesEmptyDuplicateAndOverlongPaths)
{
    // The limit is on bytes; each of these characters takes three. 65536 with the "/".
    const QString wide = "/" + QString(21844, QChar(0x4E00));
    for (const QString& refused :
         {QString(), Dir("Objects"), temp.path() + "/Downloads", wide + "ab"})
        EXPECT_TRUE(Add(refused)) << refused.size();
    EXPECT_EQ(ProgramState.Folders, initial);
    EXPECT_FALSE(window->Changed);

    const QString onList = Question("This folder is already on the list.", Exclamation, Ok);
    const QStringList asked = Questions(prompt);
    ASSERT_EQ(asked.size(), 4) << "nothing more is asked after a refusal";
    EXPECT_EQ(
        asked.mid(0, 3),
        QStringList({Question("You must enter a folder path.", Exclamation, Ok), onList, onList}));
    EXPECT_TRUE(asked[3].startsWith(Question("", Exclamation, Ok))) << asked[3].toStdString();
    EXPECT_TRUE(asked[3].contains("too long"));

    prompt.queueAnswer(PromptAnswer::Yes); // it does not exist
    EXPECT_FALSE(Add(wide + "a"));         // 65535 bytes: fits
    ASSERT_EQ(ProgramState.FolderCount(), 3);
    EXPECT_EQ(QFile::encodeName(ProgramState.Folders[2].Path).size(), kMaxFolderPathBytes);
}

TEST_F(FolderWindows, AMissingFolderIsAddedOnlyAfterYesAndAChangeRelistsOnClose)
{
    EXPECT_TRUE(Add(Dir("Gone"))); // unanswered: No
    EXPECT_EQ(Questions(prompt),
              QStringList{Question("This folder does not exist, are you sure you want to continue?",
                                   PromptIcon::Critical)});
    EXPECT_EQ(ProgramState.Folders, initial);

    prompt.queueAnswer(PromptAnswer::Yes);
    prompt.queueAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(Add(Dir("Gone")));
    EXPECT_FALSE(Add(temp.path() + "/Gone"));
    ASSERT_EQ(ProgramState.FolderCount(), 4);
    EXPECT_EQ(ProgramState.Folders[3].Path, Dir("Gone"));

    // Edit asks the same way; the rows show the change at once, the relisting waits for the
    // window to close and comes once.
    prompt.queueAnswer(PromptAnswer::Yes);
    EXPECT_FALSE(Edit(Dir("Gone"), true));
    EXPECT_EQ(ProgramState.Folders[0], (FolderEntry{Dir("Gone"), false}));
    EXPECT_EQ(RowTexts(window->lstFolders).first(), Dir("Gone"));
    EXPECT_EQ(relisted, 0);
    QTest::mouseClick(window->cmdOk, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(relisted, 1);
}

TEST_F(FolderWindows, EditWithoutChangeOrCancelDoesNotRelist)
{
    ClickRow(window->lstFolders, window->lstFolders->topLevelItem(1));
    auto ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        EXPECT_EQ(dialog->EditIndex, 1);
        EXPECT_EQ(dialog->txtFolder->text(), Dir("Objects"));
        EXPECT_FALSE(dialog->chkSubfolders->isChecked());
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton); // its own path is no duplicate
        EXPECT_FALSE(dialog->isVisible());
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);

    ran = WhenModalOpens<frmEditFolder>([&](frmEditFolder* dialog) {
        dialog->txtFolder->setText(Dir("Extra"));
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);

    EXPECT_TRUE(Edit(Dir("Downloads"))); // held by entry 0
    EXPECT_EQ(prompt.messages(), QStringList({"This folder is already on the list."}));
    EXPECT_EQ(ProgramState.Folders, initial);
    EXPECT_FALSE(window->Changed);
    EXPECT_EQ(window->SelectedFolder(), 1);
    window->close(); // the close box
    EXPECT_EQ(relisted, 0);
}

TEST_F(FolderWindows, RemoveAsksThenRemovesTheSelectedEntry)
{
    ClickRow(window->lstFolders, window->lstFolders->topLevelItem(1));
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton); // unanswered: No
    EXPECT_EQ(Questions(prompt),
              QStringList{Question("Are you sure you want to remove this folder?", Exclamation)});
    EXPECT_EQ(ProgramState.Folders, initial);
    EXPECT_FALSE(window->Changed);

    prompt.queueAnswer(PromptAnswer::Yes);
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton);
    EXPECT_EQ(ProgramState.Folders, QList<FolderEntry>({initial[0]}));
    EXPECT_EQ(RowKeys(window->lstFolders), QStringList({"0#"}));
    EXPECT_EQ(window->SelectedFolder(), 0);
    EXPECT_TRUE(window->Changed);

    // The last one, then nothing left: Remove and Edit do nothing and ask nothing.
    prompt.queueAnswer(PromptAnswer::Yes);
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton);
    EXPECT_EQ(ProgramState.FolderCount(), 0);
    prompt.clearAsked();
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<frmEditFolder*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "Edit opened its dialog on an empty list";
            dialog->close();
        }
    });
    QTest::mouseClick(window->cmdEdit, Qt::LeftButton);
    QTest::mouseClick(window->cmdRemove, Qt::LeftButton);
    EXPECT_TRUE(prompt.asked().isEmpty());

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(relisted, 1);
}

} // namespace
