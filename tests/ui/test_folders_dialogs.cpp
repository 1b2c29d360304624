// Modify Folders with its Add and Edit dialogs: refusals, questions, picker, Remove, relisting.

#include "DialogDriver.h"
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

const QString kEmpty = "You must enter a folder path.";
const QString kOnList = "This folder is already on the list.";
const QString kTooLong = "This folder path is too long to be kept on the list. A folder path can "
                         "be at most 65535 bytes long.";
const QString kMissing = "This folder does not exist, are you sure you want to continue?";
const QString kRemove = "Are you sure you want to remove this folder?";
// The limit is on bytes; each of these characters takes three: with "ab/", 65536 bytes.
const QString kWide = "/" + QString(21844, QChar(0x4E00));

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
        window = std::make_unique<frmFolders>([this] { ++relisted; });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A folder of the temp dir as the list holds it, ending in "/".
    QString Dir(const char* name) const { return temp.path() + "/" + name + "/"; }

    // The rows (temp dir left out), "changed" if changed, the messages since the last look.
    QString Seen()
    {
        QStringList seen{Listed(window->lstFolders).remove(temp.path() + "/") +
                         (window->Changed ? " changed" : "")};
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
    void Select(int row) { ClickRow(window->lstFolders, window->lstFolders->topLevelItem(row)); }

    StateGuard guard;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    QTemporaryDir temp;
    int relisted = 0;
    std::unique_ptr<frmFolders> window;
};

TEST_F(FolderWindows, RefusalsCancelsAndNoesChangeNothingAndDoNotRelist)
{
    for (const QString& refused :
         {QString(""), Dir("Objects"), temp.path() + "/Downloads", kWide + "ab", Dir("Gone")})
        Submit(window->cmdAdd, refused); // Gone: unanswered, so No
    Select(1);
    Submit(window->cmdEdit, QString());                 // as offered: its own path is no duplicate
    Submit(window->cmdEdit, Dir("Extra"), false, true); // cancelled
    Submit(window->cmdEdit, Dir("Downloads"));
    window->cmdRemove->click(); // unanswered: No
    EXPECT_EQ(Seen(), QStringList({"0#Downloads/ (+)|*1#Objects/", kEmpty, kOnList, kOnList,
                                   kTooLong, kMissing, kOnList, kRemove})
                          .join(" / "));
    window->close(); // the close box
    EXPECT_EQ(relisted, 0);
}

TEST_F(FolderWindows, EditRemoveAndAddChangeTheListAndClosingRelistsOnce)
{
    Submit(window->cmdEdit, Dir("downloads")); // another case: another folder; the flag stays
    EXPECT_EQ(Seen(), "*0#downloads/ (+)|1#Objects/ changed");

    // Remove takes the selected entry; with none left, Edit and Remove do nothing.
    window->Changed = false;
    Select(1);
    prompt.queueAnswer(PromptAnswer::Yes);
    window->cmdRemove->click();
    EXPECT_EQ(Seen(), "*0#downloads/ (+) changed / " + kRemove);
    prompt.queueAnswer(PromptAnswer::Yes);
    window->cmdRemove->click();
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<frmEditFolder*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "Edit opened its dialog on an empty list";
            dialog->close();
        }
    });
    window->cmdEdit->click();
    window->cmdRemove->click();
    EXPECT_EQ(Seen(), " changed / " + kRemove);

    // Add appends and keeps the selection. The picker's folder shows with its "/" at once; a
    // cancelled pick leaves the box alone.
    window->Changed = false;
    Submit(window->cmdAdd, temp.path() + "/Extra");
    prompt.queueAnswer(PromptAnswer::Yes);
    Submit(window->cmdAdd, Dir("Gone"), true);
    Select(1);
    prompt.queueFolder(temp.path() + "/Downloads");
    auto ran = WhenModalOpens<frmAddFolder>([&](frmAddFolder* dialog) {
        for (int pick = 0; pick < 2; ++pick) {
            QTest::mouseClick(dialog->cmdBrowse, Qt::LeftButton);
            EXPECT_EQ(dialog->txtFolder->text(), Dir("Downloads"));
        }
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
    EXPECT_TRUE(*ran);
    prompt.queueAnswer(PromptAnswer::Yes);
    Submit(window->cmdAdd, kWide + "a"); // 65535 bytes: fits
    EXPECT_EQ(Seen(), "0#Extra/|*1#Gone/ (+)|2#Downloads/|3#" + kWide + "a/ changed / " + kMissing +
                          " / " + kMissing);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(relisted, 1);
}

} // namespace
