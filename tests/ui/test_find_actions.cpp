// SPDX-License-Identifier: GPL-3.0-or-later
// Find Object's Actions: choosing rows with Shift and Ctrl, a preset and a price on many
// objects, the main window's unsaved edits, Cancel halfway.
#include "FindActions.h"
#include "FindTableModel.h"
#include "MainWindowHarness.h"
#include "frmBatchSorts.h"
#include "frmFind.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QProgressDialog>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTableView>

namespace
{

class FindActionsTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        // Function holds Lighting and a bit no row shows (256); CR LF and Windows-1252 text.
        for (const char* name : {"a", "b", "c", "d", "e"})
            files << writeFile(QString::fromLatin1(name) + ".iff",
                               object({}, 128, QByteArray("Caf\xe9 ") + name, "Soft\r\nseat", 45,
                                      {0x180, 0, 1, 0, 0, 0, 0, 0, 2}));
        ProgramState.Presets = {Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}}};
        openWindow();
        window->cmdFind->click();
        find = window->FindWindow();
        ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
    }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect at = find->tblResults->visualRect(find->model->index(row, 1));
        QTest::mouseClick(find->tblResults->viewport(), Qt::LeftButton, modifiers, at.center());
    }
    // Picks the Actions entry (a submenu's entry after "/"), as a click on it does, and waits
    // for the batch and the scan that follows it.
    void act(const QString& path)
    {
        QMenu* menu = find->actions->menu();
        Q_EMIT menu->aboutToShow();
        for (const QString& caption : path.split('/')) {
            QAction* action = nullptr;
            for (QAction* entry : menu->actions()) {
                if (entry->text().remove('&') == caption)
                    action = entry;
            }
            ASSERT_NE(action, nullptr) << caption.toStdString();
            if (action->menu()) {
                menu = action->menu();
                continue;
            }
            QSignalSpy done(find->actions, &FindActions::batchFinished);
            action->trigger();
            ASSERT_TRUE(done.count() || done.wait(10000));
            ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
        }
    }
    QStringList column(FindTableModel::Column column) const
    {
        QStringList out;
        for (int row = 0; row < find->model->rowCount(); ++row)
            out << find->model->index(row, find->model->columnOf(column)).data().toString();
        return out;
    }
    QStringList files;
    frmFind* find = nullptr;
};

} // namespace

TEST_F(FindActionsTest, ShiftAndCtrlChooseTheRowsAPresetAndAPriceReachTablesAndWindow)
{
    click(0);
    QTest::keyClick(find->tblResults, Qt::Key_Down, Qt::ShiftModifier);
    click(3, Qt::ControlModifier);
    click(4, Qt::ControlModifier);
    click(3, Qt::ControlModifier); // taken out again: a, b and e stay
    ASSERT_EQ(find->tblResults->selectionModel()->selectedRows().size(), 3);
    bool popped = false; // the context-menu key opens Actions on the rows
    QTimer::singleShot(0, [&] {
        popped = QApplication::activePopupWidget() == find->actions->menu();
        find->actions->menu()->close();
    });
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(4, 4), QPoint(4, 4));
    QApplication::sendEvent(find->tblResults, &menuKey);
    EXPECT_TRUE(popped);

    prompt.queueAnswer(PromptAnswer::Yes);
    act("Apply preset/Kitchen");
    EXPECT_EQ(prompt.messages().first(), "Apply the preset \"Kitchen\" to 3 objects in 3 files.");
    EXPECT_TRUE(prompt.messages().last().startsWith("Files changed: 3\n"))
        << prompt.messages().last().toStdString();
    EXPECT_EQ(shownSorts(), "Appliances|Stoves|Kitchen||||||None"); // a.iff, shown at once
    EXPECT_EQ(stored(files[1], 128), "Café b|Soft\r\nseat|45||4|1|1|0|0|0|0|0|0");
    EXPECT_EQ(stored(files[2], 128), "Café c|Soft\r\nseat|45||384|0|1|0|0|0|0|0|2");

    // Three-state sorts: Seating set, Appliances cleared, Build Mode left; then a price.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<frmBatchSorts*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->chkFlags[0][0], Qt::LeftButton); // partly -> set
        dialog->chkFlags[0][2]->setCheckState(Qt::Unchecked);
        dialog->cboBuildMode->setCurrentIndex(dialog->cboBuildMode->findData(0)); // "None"
        EXPECT_EQ(dialog->marks().buildMode, 0);
        dialog->cboBuildMode->setCurrentIndex(0); // "Leave as is"
        dialog->accept();
    });
    prompt.queueAnswer(PromptAnswer::Yes);
    act("Edit sorts…");
    EXPECT_EQ(stored(files[4], 128), "Café e|Soft\r\nseat|45||1|1|1|0|0|0|0|0|0");
    prompt.clearAsked();
    find->tblResults->selectAll(); // Ctrl+A
    prompt.queueInput("+10%");
    prompt.queueAnswer(PromptAnswer::Yes);
    act("Set price…");
    EXPECT_EQ(prompt.messages().first(), "Set the price of 5 objects in 5 files.");
    EXPECT_EQ(column(FindTableModel::Column::Price), QStringList(5, "50"));
    EXPECT_EQ(window->txtPrice->text(), "50");

    // A save in the main window shows in Find Object.
    QSignalSpy scanned(find, &frmFind::scanFinished);
    saveAt("60");
    ASSERT_TRUE(scanned.wait(10000));
    EXPECT_EQ(column(FindTableModel::Column::Price).first(), "60");
}

TEST_F(FindActionsTest, UnsavedEditsAreAskedAboutFirstAndCancelStopsHalfway)
{
    window->txtPrice->setText("7"); // unsaved, in a.iff
    find->tblResults->selectAll();
    prompt.queueAnswer(PromptAnswer::Yes); // hide them
    prompt.queueAnswer(PromptAnswer::Yes); // save the price first
    // The worker waits after the second file until Cancel is clicked on its report.
    QSemaphore proceed;
    find->actions->runner()->setAfterFile([&](int done) {
        if (done == 2)
            proceed.tryAcquire(1, 10000);
    });
    QObject::connect(find->actions->runner(), &BatchRunner::progress, find, [&](int done) {
        if (done != 2)
            return;
        ASSERT_NE(find->actions->progressDialog(), nullptr);
        QTest::mouseClick(find->actions->progressDialog()->findChild<QPushButton*>(),
                          Qt::LeftButton);
        proceed.release();
    });
    act("Hide from catalog");
    EXPECT_EQ(prompt.messages().value(1), kChanged);
    EXPECT_TRUE(prompt.messages().last().contains("Files changed: 2\n"))
        << prompt.messages().last().toStdString();
    EXPECT_TRUE(prompt.messages().last().contains("Cancelled"));
    EXPECT_EQ(panel(), "a.iff|Café a|Soft\nseat|7|D");
    for (int i = 0; i < files.size(); ++i)
        EXPECT_EQ(stored(files[i], 128).section('|', 2, 3), i == 0   ? "7|D"
                                                            : i == 1 ? "45|D"
                                                                     : "45|")
            << i;
}

TEST_F(FindActionsTest, FilesMoveOnlyInsideTheListedFoldersNeverOverAnotherAndGoToTheTrash)
{
    click(0);
    QTest::keyClick(find->tblResults, Qt::Key_Down, Qt::ShiftModifier); // a and b
    prompt.queueFolder(QDir::tempPath());
    find->actions->moveFiles();
    EXPECT_TRUE(prompt.messages().last().contains("is not one of the listed folders"));

    MakeFile(gameFolder + "tidy/a.iff", "theirs");
    prompt.queueFolder(gameFolder + "tidy");
    prompt.queueAnswer(PromptAnswer::Yes); // move
    prompt.queueAnswer(PromptAnswer::Yes); // keep both
    act("Move files to folder…");
    EXPECT_TRUE(prompt.messages()[1].contains("Every object of a moved file moves with it: 2 "
                                              "objects."));
    EXPECT_EQ(ReadFile(gameFolder + "tidy/a.iff"), QByteArray("theirs"));
    EXPECT_EQ(stored(gameFolder + "tidy/a (2).iff", 128).section('|', 2, 2), "45");
    EXPECT_TRUE(QFileInfo::exists(gameFolder + "tidy/b.iff"));
    EXPECT_EQ(fileRow("a.iff"), nullptr); // the main window lists what is there now
    EXPECT_EQ(find->model->rowCount(), 3);

    find->tblResults->selectAll();
    prompt.queueAnswer(PromptAnswer::Yes);
    act("Delete files");
    EXPECT_TRUE(prompt.messages().contains("Move 3 files with 3 objects to the trash?"));
    EXPECT_EQ(QDir(trashFolder()).entryList(QDir::Files).size(), 3);
}

// Files that go from the list make the main window read it again: the open file's edits are
// asked about first, though the open file itself stays.
TEST_F(FindActionsTest, RemovingOtherListedFilesAsksAboutTheOpenFilesEditsFirst)
{
    window->txtPrice->setText("7");        // unsaved, in a.iff
    click(4);                              // e.iff alone
    prompt.queueAnswer(PromptAnswer::Yes); // delete it
    prompt.queueAnswer(PromptAnswer::Yes); // save the price first
    act("Delete files");
    EXPECT_EQ(prompt.messages().value(1), kChanged);
    EXPECT_EQ(stored(files[0], 128).section('|', 2, 2), "7");
}
