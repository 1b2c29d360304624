// SPDX-License-Identifier: GPL-3.0-or-later
// Saves and deletions kept in the history; the History window: its rows, restores and settings.
#include "CatalogTypes.h"
#include "HistoryRestore.h"
#include "HistoryRows.h"
#include "HistorySettings.h"
#include "HistoryStore.h"
#include "KeptSave.h"
#include "MainWindowHarness.h"
#include "WindowStyle.h"
#include "frmFind.h"
#include "frmHistory.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSpinBox>

namespace
{

class HistoryWindowTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        sofaFile = writeFile("a.iff", object({}, 128, "Sofa", "Soft", 400));
        lampFile = writeFile("b.iff", object({}, 200, "Lamp", "Bright", 30));
        sofaBytes = ReadFile(sofaFile);
        lampBytes = ReadFile(lampFile);
        openWindow();
    }
    void openHistory(bool byKey = false) // by its button, or by Ctrl+H
    {
        byKey ? QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier)
              : window->cmdHistory->click();
        history = window->HistoryWindow();
        ASSERT_TRUE(history && history->isVisible());
    }
    // The rows shown: file|what changed, a batch's changes after ">".
    QStringList rows() const
    {
        QStringList out;
        const QTreeWidget* list = history->lstChanges;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list->topLevelItem(i);
            if (row->isHidden())
                continue;
            out << row->text(kFileColumn) + '|' + row->text(kSummaryColumn);
            for (int c = 0; c < row->childCount(); ++c)
                if (!row->child(c)->isHidden())
                    out << '>' + row->child(c)->text(kFileColumn);
        }
        return out;
    }
    // Restores the top row at index with Enter, answering the questions in turn.
    void restore(int index, std::initializer_list<PromptAnswer> answers)
    {
        for (const PromptAnswer answer : answers)
            prompt.queueAnswer(answer);
        history->lstChanges->setCurrentItem(history->lstChanges->topLevelItem(index));
        QTest::keyClick(history->lstChanges, Qt::Key_Return);
    }

    frmHistory* history = nullptr;
    QString sofaFile, lampFile;
    QByteArray sofaBytes, lampBytes;
};

TEST_F(HistoryWindowTest, AWindowSaveIsListedAndRestoredIntoThePanel)
{
    // The button sits in the strip beside Find Object, clear of every other control.
    EXPECT_EQ(window->size(), QSize(Twips(11910), Twips(9120)));
    EXPECT_EQ(window->cmdFind->geometry(),
              QRect(Twips(9360), Twips(8640), Twips(2415), Twips(375)));
    for (const QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != window->cmdHistory && other->isVisible())
            EXPECT_FALSE(other->geometry().intersects(window->cmdHistory->geometry()))
                << other->objectName().toStdString();

    window->txtPrice->setText("450");
    window->txtName->setText("Blue Sofa");
    window->cmdSave->click();
    const QByteArray saved = ReadFile(sofaFile);
    ASSERT_NE(saved, sofaBytes);
    const HistoryChange kept = window->History().changes().value(0);
    EXPECT_EQ(kept.program + '|' + kept.kind + '|' + kept.file, "window|save|" + sofaFile);
    EXPECT_TRUE(QFileInfo(dataFolder + "history/journal.sqlite").isFile());

    ASSERT_NO_FATAL_FAILURE(openHistory(true));
    EXPECT_EQ(history->windowTitle(), "History");
    EXPECT_EQ(rows(),
              QStringList{"a.iff|Object 128 'Sofa': price 400 → 450; name 'Sofa' → 'Blue Sofa'"});
    EXPECT_EQ(history->lstChanges->topLevelItem(0)->toolTip(kFileColumn), sofaFile);

    // Declined: nothing changes. Agreed: the file's bytes and the panel are as before the save.
    restore(0, {PromptAnswer::No});
    EXPECT_EQ(ReadFile(sofaFile), saved);
    restore(0, {PromptAnswer::Yes});
    EXPECT_EQ(Questions(prompt),
              QStringList(2, Question("Restore a.iff as it was before this change?",
                                      PromptIcon::Question, PromptButtons::YesNo, "")));
    EXPECT_EQ(ReadFile(sofaFile), sofaBytes);
    EXPECT_EQ(panel(), "a.iff|Sofa|Soft|400|");
    EXPECT_TRUE(rows().size() == 2 && rows()[0].startsWith("a.iff|Restored as before change"));
    // From the filter box, Down moves to the first row shown when the chosen one is not.
    history->lstChanges->setCurrentItem(history->lstChanges->topLevelItem(1));
    history->txtFilter->setText("RESTORED");
    QTest::keyClick(history->txtFilter, Qt::Key_Down);
    EXPECT_EQ(history->lstChanges->currentItem(), history->lstChanges->topLevelItem(0));
    history->txtFilter->clear();

    // Unsaved edits are asked about first ("No" drops them); a restore is undone like any change.
    prompt.clearAsked();
    window->txtPrice->setText("999");
    restore(0, {PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_EQ(prompt.messages(),
              (QStringList{kChanged, "Restore a.iff as it was before this change?"}));
    EXPECT_EQ(ReadFile(sofaFile), saved);
    EXPECT_EQ(panel(), "a.iff|Blue Sofa|Soft|450|");

    QTest::keyClick(history->lstChanges, Qt::Key_Escape);
    EXPECT_FALSE(history->isVisible());
}

TEST_F(HistoryWindowTest, ABatchOfTwoFilesIsOneRowRestoredInOneStep)
{
    // Two files changed together by another program of Kestrane's.
    const QString batch = NewBatchId();
    QString error;
    for (const auto& [path, id, price] :
         {std::tuple{sofaFile, quint16(128), quint16(5)}, {lampFile, quint16(200), quint16(6)}}) {
        const auto doc = onDisk(path);
        doc->SetPrice(id, price);
        ASSERT_TRUE(SaveDocumentKept(window->History(), *doc, path,
                                     ChangeInfo{"cli", batch, QString("price %1").arg(price)},
                                     &error))
            << error.toStdString();
    }
    ASSERT_NO_FATAL_FAILURE(openHistory());
    EXPECT_EQ(rows(), (QStringList{"2 files|price 6; price 5", ">b.iff", ">a.iff"}));

    // The filter matches every typed word, any case, in the batch or one of its changes.
    const std::tuple<QString, QStringList, QString> filters[] = {
        {"B.IFF", {"2 files|price 6; price 5", ">b.iff"}, "1 of 1 rows shown; 2 changes"},
        {"price 5",
         {"2 files|price 6; price 5", ">b.iff", ">a.iff"},
         "1 of 1 rows shown; 2 changes"},
        {"price lamp", {}, "0 of 1 rows shown; 2 changes"},
    };
    for (const auto& [typed, shown, status] : filters) {
        history->txtFilter->setText(typed);
        EXPECT_EQ(rows(), shown) << typed.toStdString();
        EXPECT_EQ(history->lblStatus->text(), status);
    }
    history->txtFilter->clear();
    history->lstChanges->topLevelItem(0)->setExpanded(true);

    restore(0, {PromptAnswer::Yes});
    EXPECT_TRUE(history->lstChanges->topLevelItem(1)->isExpanded()) << "an open batch stays open";
    EXPECT_EQ(prompt.messages(),
              QStringList{"Restore these 2 files as they were before this change?\na.iff\nb.iff"});
    EXPECT_EQ(ReadFile(sofaFile) + ReadFile(lampFile), sofaBytes + lampBytes);
    EXPECT_EQ(panel(), "a.iff|Sofa|Soft|400|") << "the open file is read again";
}

TEST_F(HistoryWindowTest, ADeletedFileComesBackIntoTheListsFromTheTrash)
{
    window->cmdFind->click();
    frmFind* find = window->FindWindow();
    ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
    ClickRow(window->lstFiles, fileRow("b.iff"));
    prompt.queueTrash(true);
    window->cmdDelete->click();
    ASSERT_FALSE(QFile::exists(lampFile));
    const HistoryChange kept = window->History().changes().value(0);
    EXPECT_EQ(QStringList({kept.program, kept.kind, kept.file, kept.summary, kept.trashPath}),
              QStringList({"window", "delete", lampFile, "File moved to the trash",
                           trashFolder() + "b.iff"}));
    ClickRow(window->lstFiles, fileRow("a.iff"));
    window->txtPrice->setText("999"); // unsaved: a relisting asks first

    ASSERT_NO_FATAL_FAILURE(openHistory());
    QSignalSpy rescanned(find, &frmFind::scanFinished);
    restore(0, {PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_EQ(prompt.messages(),
              (QStringList{kChanged, "Restore b.iff as it was before this change?\n\nb.iff is "
                                     "gone; it comes back from the trash."}));
    EXPECT_EQ(ReadFile(lampFile), lampBytes);
    EXPECT_EQ(Rows(window->lstFiles), (QStringList{"a.iff", "b.iff"}));
    EXPECT_EQ(panel(), "a.iff|Sofa|Soft|400|") << "the open file stays open, its edits dropped";
    ASSERT_TRUE(rescanned.wait(10000));
    EXPECT_EQ(find->catalog().rows.size(), 2);
}

TEST_F(HistoryWindowTest, AFileChangedElsewhereOrWithoutItsCopyIsSaidSo)
{
    saveAt("450");
    const QByteArray elsewhere = "changed by another program";
    WriteFile(sofaFile, elsewhere);
    ASSERT_NO_FATAL_FAILURE(openHistory());

    restore(0, {PromptAnswer::Yes});
    EXPECT_EQ(Questions(prompt),
              QStringList{Question("Restore a.iff as it was before this change?\n\na.iff was "
                                   "changed since by something other than Kestrane. What it "
                                   "holds now is kept in the history first, so that this "
                                   "restore can be undone too.",
                                   PromptIcon::Exclamation, PromptButtons::YesNo, "")});
    EXPECT_EQ(ReadFile(sofaFile), sofaBytes);

    // A pruned copy (the 460 before 470) takes its row along; a list from before says so.
    prompt.clearAsked();
    saveAt("460");
    saveAt("470");
    history->refresh();
    const int shown = history->lstChanges->topLevelItemCount();
    const QByteArray before = ReadFile(sofaFile);
    ASSERT_TRUE(window->History().setSizeLimit(1)); // a file's first copy stays
    restore(0, {});
    EXPECT_EQ(prompt.messages(), QStringList{"This change is no longer in the history: its copy "
                                             "was pruned to keep the history under its size "
                                             "limit, or the history was forgotten."});
    EXPECT_LT(history->lstChanges->topLevelItemCount(), shown);
    EXPECT_EQ(ReadFile(sofaFile), before);
}

TEST_F(HistoryWindowTest, SettingsKeepingLimitAndForgetting)
{
    saveAt("450");
    ASSERT_NO_FATAL_FAILURE(openHistory());
    HistorySettings* settings = history->settings;
    EXPECT_TRUE(settings->chkKeep->isChecked() && history->lblNote->isHidden());
    EXPECT_EQ(settings->spnLimit->value(), 1024);

    // Off: the window says so, and a save records nothing.
    settings->chkKeep->click();
    EXPECT_TRUE(history->lblNote->isVisible() &&
                history->lblNote->text().startsWith("Changes are not being kept."));
    saveAt("460");
    history->refresh();
    EXPECT_EQ(history->lstChanges->topLevelItemCount(), 1);
    settings->chkKeep->click();
    EXPECT_TRUE(history->lblNote->isHidden());

    settings->spnLimit->setValue(2048);
    EXPECT_EQ(window->History().sizeLimit(), 2048ll << 20);
    // A limit below what the history takes prunes at once: asked first, and No keeps all.
    QByteArray noise(3 << 20, '\0'); // does not compress
    QRandomGenerator(42).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QString error;
    for (const QByteArray& bytes : {noise, QByteArray("small")})
        ASSERT_TRUE(WriteFileKept(window->History(), gameFolder + "big.bin", bytes,
                                  ChangeInfo{"cli", {}, {}}, &error))
            << error.toStdString();
    settings->spnLimit->setValue(1);
    const QString lower = OneMessage(prompt);
    EXPECT_TRUE(lower.contains("With a limit of 1.0 MiB, older")) << lower.toStdString();
    EXPECT_TRUE(lower.endsWith("Lower the limit?"));
    EXPECT_EQ(settings->spnLimit->value(), 2048);
    EXPECT_EQ(window->History().changes().size(), 3);

    // Forgetting asks first; then the list is empty. The chosen row stays chosen on refresh.
    history->refresh();
    history->lstChanges->setCurrentItem(history->lstChanges->topLevelItem(2));
    ASSERT_TRUE(WriteFileKept(window->History(), gameFolder + "big.bin", "newer",
                              ChangeInfo{"cli", {}, {}}, &error));
    history->refresh();
    EXPECT_EQ(history->lstChanges->indexOfTopLevelItem(history->lstChanges->currentItem()), 3);
    settings->cmdForget->click(); // No
    EXPECT_EQ(history->lstChanges->topLevelItemCount(), 4);
    prompt.queueAnswer(PromptAnswer::Yes);
    settings->cmdForget->click();
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_EQ(history->lstChanges->topLevelItemCount(), 0);
    EXPECT_TRUE(window->History().changes().isEmpty());
}

TEST_F(HistoryWindowTest, ASaveIsRefusedWithoutACopyAndADamagedFileSavedOnlyWhenAgreed)
{
    MakeFile(dataFolder + "history"); // a file where the history folder belongs
    saveAt("450");
    EXPECT_EQ(ReadFile(sofaFile), sofaBytes);
    EXPECT_TRUE(OneMessage(prompt).contains("No copy of the file could be kept"));
    EXPECT_EQ(window->txtPrice->text(), QStringLiteral("450")); // the edit stays unsaved

    QFile::remove(dataFolder + "history");
    const QByteArray damaged = sofaBytes + "cut off";
    WriteFile(sofaFile, damaged);
    openWindow();
    prompt.queueAnswer(PromptAnswer::No);
    saveAt("450");
    EXPECT_EQ(OneMessage(prompt),
              QString{"This file is damaged: 7 bytes at the end hold no whole chunk.\n\n"
                      "Saving it drops the part that could not be read. The original "
                      "stays in the history, so it can be restored.\n\nSave it anyway?"});
    EXPECT_EQ(ReadFile(sofaFile), damaged);
    EXPECT_TRUE(window->History().changes().isEmpty());
    EXPECT_EQ(window->txtPrice->text(), QStringLiteral("450")); // the edit stays

    prompt.queueAnswer(PromptAnswer::Yes);
    window->cmdSave->click();
    EXPECT_EQ(onDisk(sofaFile)->GetPrice(128), 450);
    saveAt("460"); // asked once per opened file
    EXPECT_EQ(prompt.messages().size(), 1);
    HistoryStore& history = window->History();
    ASSERT_TRUE(RestoreFiles(history, {*PlanOriginal(history, sofaFile)}, {}));
    EXPECT_EQ(ReadFile(sofaFile), damaged); // the damaged original comes back whole

    ASSERT_TRUE(history.setEnabled(false)); // then the question says that nothing is kept
    prompt.clearAsked();
    openWindow();
    saveAt("470"); // No
    EXPECT_TRUE(OneMessage(prompt).contains("The history of changes is off, so the original"));
    EXPECT_EQ(ReadFile(sofaFile), damaged);
}

} // namespace
