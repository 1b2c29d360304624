// The main window's saves and Delete File are kept in the history and can be undone.
#include "HistoryRestore.h"
#include "HistoryStore.h"
#include "MainWindowHarness.h"

namespace
{

class HistorySaveTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        path = writeFile("sofa.iff", object({}, 128, "Sofa\xa0", "Soft\r\nblue", 400));
        original = ReadFile(path);
    }
    bool undoLatest()
    {
        HistoryStore& history = window->History();
        const std::optional<RestoreItem> plan = PlanUndoLatest(history, path);
        return plan && RestoreFiles(history, {*plan}, {QStringLiteral("window"), {}, {}});
    }
    QString path;
    QByteArray original;
};

TEST_F(HistorySaveTest, SaveAndDeleteFileAreKeptAndUndone)
{
    const std::tuple<std::function<void()>, const char*, QString> cases[] = {
        {[&] { saveAt("450"); }, "save",
         QStringLiteral("Object 128 'Sofa\u00a0': price 400 → 450")},
        {[&] {
             prompt.queueTrash(true);
             window->cmdDelete->click();
         },
         "delete", "File moved to the trash"}};
    for (const auto& [act, kind, summary] : cases) {
        openWindow();
        window->History().forget(std::nullopt);
        act();
        ASSERT_NE(ReadFile(path), original) << kind;
        const QList<HistoryChange> changes = window->History().changes();
        ASSERT_EQ(changes.size(), 1);
        EXPECT_EQ(changes[0].program + '|' + changes[0].file + '|' + changes[0].kind + '|' +
                      changes[0].summary,
                  "window|" + path + '|' + kind + '|' + summary);
        EXPECT_EQ(changes[0].trashPath.startsWith(trashFolder()), kind == QString("delete"));
        EXPECT_TRUE(QFileInfo(dataFolder + "history/journal.sqlite").isFile());
        ASSERT_TRUE(undoLatest());
        EXPECT_EQ(ReadFile(path), original);
        EXPECT_FALSE(QFileInfo::exists(changes[0].trashPath));
    }
}

TEST_F(HistorySaveTest, DamagedFileIsSavedOnlyWhenThePersonAgrees)
{
    const QByteArray damaged = original + "cut off";
    WriteFile(path, damaged);
    openWindow();
    prompt.queueAnswer(PromptAnswer::No);
    saveAt("450");
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages()[0],
              QStringLiteral("This file is damaged: 7 bytes at the end hold no whole chunk.\n\n"
                             "Saving it drops the part that could not be read. The original "
                             "stays in the history, so it can be restored.\n\nSave it anyway?"));
    EXPECT_EQ(ReadFile(path), damaged);
    EXPECT_TRUE(window->History().changes().isEmpty());
    EXPECT_EQ(window->txtPrice->text(), QStringLiteral("450")); // the edit stays

    prompt.clearAsked();
    prompt.queueAnswer(PromptAnswer::Yes);
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->GetPrice(128), 450);
    saveAt("460"); // asked once per opened file
    EXPECT_EQ(prompt.messages().size(), 1);
    HistoryStore& history = window->History();
    ASSERT_TRUE(RestoreFiles(history, {*PlanOriginal(history, path)}, {}));
    EXPECT_EQ(ReadFile(path), damaged); // the damaged original comes back whole
}

TEST_F(HistorySaveTest, SaveIsRefusedWhenNoCopyCanBeKept)
{
    MakeFile(dataFolder + "history"); // a file where the history folder belongs
    openWindow();
    saveAt("450");
    EXPECT_EQ(ReadFile(path), original);
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages()[0].contains("No copy of the file could be kept"));
    EXPECT_EQ(window->txtPrice->text(), QStringLiteral("450")); // the edit stays unsaved
}

} // namespace
