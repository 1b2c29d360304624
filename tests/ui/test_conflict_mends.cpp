// SPDX-License-Identifier: GPL-3.0-or-later
// The demo installation in Find Object: its lots, both repairs of its conflicts, and Delete
// File warning about lots only when no other copy remains.
#include "CatalogTypes.h"
#include "ConflictMends.h"
#include "DemoInstallation.h"
#include "FindActions.h"
#include "FindLots.h"
#include "FindTableModel.h"
#include "HistoryStore.h"
#include "MainWindowHarness.h"
#include "clsIFF.h"
#include "frmFind.h"

#include <QSignalSpy>
#include <QTableView>

namespace
{

using C = FindTableModel::Column;

class ConflictMendsTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        QString error;
        ASSERT_TRUE(MakeDemoInstallation(dataFolder + "demo", &error)) << error.toStdString();
        game = DemoGameFolder(dataFolder + "demo");
        ProgramState.GameFolder = game;
        ProgramState.Folders = {FolderEntry{game + "Downloads/", true}};
        openWindow();
        window->cmdFind->click();
        find = window->FindWindow();
        ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return column(C::Lots).contains("2"); }));
    }
    QStringList column(C which, int role = Qt::DisplayRole) const
    {
        QStringList out;
        for (int row = 0; row < find->model->rowCount(); ++row)
            out << find->model->index(row, find->model->columnOf(which)).data(role).toString();
        return out;
    }
    void choose(const QString& name)
    {
        const int row = int(column(C::Name).indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        find->tblResults->setCurrentIndex(find->model->index(row, 1));
    }
    void rescanned() { ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000)); }
    // Delete File on the main window's row of the file: the questions asked, the prompt cleared.
    QStringList deleteFile(const QString& path)
    {
        window->lstFiles->setCurrentItem(window->lstFiles->findItems(path, Qt::MatchExactly, 1)[0]);
        window->cmdDelete->click();
        QStringList asked;
        for (const ScriptedPrompt::Asked& question : prompt.asked())
            asked << question.text;
        prompt.clearAsked();
        return asked;
    }
    QString game;
    frmFind* find = nullptr;
};

} // namespace

TEST_F(ConflictMendsTest, TheDemosConflictsMendedBothWays)
{
    // Lots column, its tooltip, and lot:2 (the House02.iff lots).
    choose("Classic Sofa in Teal");
    const QModelIndex lots =
        find->tblResults->currentIndex().siblingAtColumn(find->model->columnOf(C::Lots));
    EXPECT_EQ(lots.data().toString(), "2");
    EXPECT_EQ(lots.data(Qt::ToolTipRole).toString(),
              "UserData, House01.iff\nUserData2, House01.iff");
    find->txtSearch->setText("LOT:2");
    EXPECT_EQ(column(C::Name), QStringList({"Dreamweaver Double Bed", "Tiki Torch"}));
    find->txtSearch->setText("lot:2 tiki lot:");
    EXPECT_EQ(column(C::Name), QStringList({"Tiki Torch"}));
    find->txtSearch->clear();
    // Lots read again leave the chosen rows and the current one as they were.
    find->tblResults->selectAll();
    choose("Tiki Torch");
    find->tblResults->selectionModel()->select(
        find->model->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Q_EMIT find->findChild<FindLots*>()->finished();
    EXPECT_EQ(find->tblResults->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(find->tblResults->currentIndex().siblingAtColumn(1).data().toString(), "Tiki Torch");
    EXPECT_TRUE(find->lblStatus->text().endsWith("; 1 damaged lot file skipped"));
    EXPECT_TRUE(find->lblStatus->toolTip().startsWith(game + "UserData2/Houses/House02.iff: "));

    // A delete warns of nothing while another copy of the rug remains.
    const QString rug = game + "Downloads/RugRound.iff",
                  rugCopy = game + "Downloads/Vacation Pack/RugRound.iff";
    EXPECT_EQ(deleteFile(rug), QStringList({rug}));
    EXPECT_TRUE(QFile::exists(rug));

    // Keep one: the shallowest is offered first; keeping the other trashes this one.
    find->setView(frmFind::Conflicts);
    choose("Round Braided Rug");
    EXPECT_TRUE(find->mends->cmdKeepOne->isEnabled());
    EXPECT_FALSE(find->mends->cmdNewGuid->isEnabled());
    prompt.queueChoice(1);
    find->mends->cmdKeepOne->click();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_TRUE(prompt.asked()[0].defaultText.endsWith("Vacation Pack/RugRound.iff\ncurrent: 0"));
    prompt.clearAsked();
    EXPECT_FALSE(QFile::exists(rug));
    rescanned();

    // The last copy: the warning names both lots; No keeps the file, asking nothing more.
    const QStringList warned = deleteFile(rugCopy);
    ASSERT_EQ(warned.size(), 1);
    EXPECT_TRUE(warned[0].contains("    UserData, House01.iff\n    UserData2, House01.iff\n"));
    EXPECT_TRUE(QFile::exists(rugCopy));
    // So do Find's Actions, after the count.
    find->setView(frmFind::AllObjects);
    choose("Round Braided Rug");
    prompt.queueAnswer(PromptAnswer::Yes);
    prompt.queueAnswer(PromptAnswer::No);
    find->actions->deleteFiles();
    ASSERT_EQ(prompt.asked().size(), 2);
    EXPECT_EQ(prompt.asked()[1].text, warned[0]);
    prompt.clearAsked();
    EXPECT_TRUE(QFile::exists(rugCopy));

    // A new GUID for the recolour, never for the game's own sofa.
    find->setView(frmFind::Conflicts);
    choose("Classic Sofa");
    EXPECT_FALSE(find->mends->cmdNewGuid->isEnabled());
    choose("Classic Sofa in Teal");
    ASSERT_TRUE(find->mends->cmdNewGuid->isEnabled());
    const QString recolour = game + "Downloads/SofaClassicRecolour.iff";
    // A save that fails (the disk full) is told, and the status line is left as it was.
    find->lblStatus->setText("as it was");
    prompt.queueAnswer(PromptAnswer::Yes);
    WithFileSizeLimit(1024, [&] { return find->mends->cmdNewGuid->click(), true; });
    EXPECT_TRUE(prompt.messages().value(1).startsWith(recolour + " could not be saved: "));
    EXPECT_EQ(find->lblStatus->text(), "as it was");
    prompt.clearAsked();
    // An unsaved price of the recolour is saved first, and the new GUID goes in beside it.
    ASSERT_TRUE(window->GoToObject(recolour, 128));
    window->txtPrice->setText("401");
    prompt.queueAnswer(PromptAnswer::Yes);
    prompt.queueAnswer(PromptAnswer::Yes); // save the price
    find->mends->cmdNewGuid->click();
    const QStringList told = prompt.messages();
    prompt.clearAsked();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].contains("UserData2, House01.iff")) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains("We cannot tell which of the two the game shows today."));
    rescanned();
    EXPECT_EQ(find->catalog().conflicts.size(), 0);
    clsIFF saved;
    ASSERT_TRUE(saved.LoadFile(recolour));
    EXPECT_EQ(saved.GetPrice(128), 401);
    EXPECT_EQ(window->History().changes().size(), 3);
}
