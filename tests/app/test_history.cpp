// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChangeSummary.h"
#include "HistoryRestore.h"
#include "HistoryTestEnv.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <thread>
#include <unistd.h>

// A small copy goes to the journal; a large one is the replaced file itself, linked. A file
// past 4 MiB is hashed on another thread as it is written.
TEST_F(HistoryTest, SaveIsRecordedAndUndoneAndTheUndoUndone)
{
    for (const QByteArray& body :
         {QByteArray(), QByteArray(2 * 1024 * 1024, 'x'), QByteArray(5 * 1024 * 1024 + 3, 'y')}) {
        SCOPED_TRACE(body.size());
        const QByteArray original = SofaBytes(400, body);
        const QString path = put(QStringLiteral("sofa%1.iff").arg(body.size()), original);
        const FileStamp stamp = StampOfPath(path);
        ASSERT_TRUE(savePrice(path, 450));
        ASSERT_TRUE(savePrice(path, 450)); // the same bytes: nothing to record
        const QByteArray saved = ReadFile(path);

        QList<HistoryChange> changes = store.changes({path});
        ASSERT_EQ(changes.size(), 1);
        const HistoryChange c = changes[0];
        EXPECT_EQ(QStringList({c.file, c.kind, c.program, c.beforeHash, c.afterHash}),
                  QStringList({path, "save", "cli", hexOf(original), hexOf(saved)}));
        EXPECT_EQ(c.beforeSize, original.size());
        EXPECT_TRUE(c.firstCopy);
        if (!body.isEmpty()) {
            const QString kept = store.contents().fileOf(hexOf(original));
            EXPECT_EQ(StampOfPath(kept).inode, stamp.inode); // linked, not copied
            EXPECT_EQ(StampOfPath(kept).links, 1u);
        }

        const std::optional<RestoreItem> undo = PlanUndoLatest(store, path);
        ASSERT_TRUE(undo);
        EXPECT_FALSE(undo->changedElsewhere);
        ASSERT_TRUE(RestoreFiles(store, {*undo}, cli));
        EXPECT_EQ(ReadFile(path), original);

        changes = store.changes({path});
        ASSERT_EQ(changes.size(), 2);
        EXPECT_EQ(changes[0].kind, QStringLiteral("restore"));
        EXPECT_FALSE(changes[0].firstCopy);
        ASSERT_TRUE(RestoreFiles(store, {*PlanUndoLatest(store, path)}, cli));
        EXPECT_EQ(ReadFile(path), saved);
        // Back to the start in one step, whatever came between.
        ASSERT_TRUE(RestoreFiles(store, {*PlanOriginal(store, path)}, cli));
        EXPECT_EQ(ReadFile(path), original);

        // Changed by another program since: said so, and what it wrote is kept first.
        ASSERT_TRUE(savePrice(path, 460));
        const QByteArray elsewhere = SofaBytes(777);
        WriteFile(path, elsewhere);
        const std::optional<RestoreItem> plan = PlanUndoLatest(store, path);
        ASSERT_TRUE(plan);
        EXPECT_TRUE(plan->changedElsewhere);
        ASSERT_TRUE(RestoreFiles(store, {*plan}, cli));
        EXPECT_EQ(ReadFile(path), original);
        EXPECT_EQ(store.changes().first().beforeHash, hexOf(elsewhere));
        ASSERT_TRUE(RestoreFiles(store, {*PlanUndoLatest(store, path)}, cli));
        EXPECT_EQ(ReadFile(path), elsewhere);
    }
    expectCopiesKept();
}

TEST_F(HistoryTest, BatchIsRestoredInOneStep)
{
    const QStringList paths = {put(QStringLiteral("a.iff"), SofaBytes(1)),
                               put(QStringLiteral("b.iff"), SofaBytes(2)),
                               put(QStringLiteral("c.iff"), SofaBytes(3))};
    const ChangeInfo batch{QStringLiteral("window"), NewBatchId(), QStringLiteral("batch")};
    for (const QString& path : paths)
        ASSERT_TRUE(savePrice(path, 999, nullptr, batch));
    ASSERT_TRUE(savePrice(paths[0], 1000, nullptr, batch)); // a file changed twice in it
    EXPECT_EQ(store.batch(batch.batch).size(), 4);

    const QList<RestoreItem> plan = PlanBatchRestore(store, batch.batch);
    ASSERT_EQ(plan.size(), 3);
    ASSERT_TRUE(RestoreFiles(store, plan, cli));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadFile(paths[i]), SofaBytes(quint16(i + 1))) << i;
    // The restore is one batch of its own, so it is undone in one step as well.
    const QString restoreBatch = store.changes().first().batch;
    EXPECT_EQ(store.batch(restoreBatch).size(), 3);
    ASSERT_TRUE(RestoreFiles(store, PlanBatchRestore(store, restoreBatch), cli));
    EXPECT_EQ(priceOf(paths[0]), 1000);
    EXPECT_EQ(priceOf(paths[2]), 999);
}

TEST_F(HistoryTest, DeletedFileComesBackFromTheTrashOrElseFromTheStore)
{
    const struct {
        const char* name;
        bool emptyTrash, alterTrashCopy, removeFolder, fromTrash;
    } cases[] = {
        {"trash copy there", false, false, false, true},
        {"trash emptied", true, false, false, false},
        {"trash copy altered", false, true, false, false},
        {"folder gone too", true, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = put(QStringLiteral("sub/%1.iff").arg(c.name), SofaBytes(5));
        QString trashed, error;
        ASSERT_TRUE(TrashFileKept(store, path, cli, &trashed, &error)) << error.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path));
        const HistoryChange deleted = store.changes().first();
        EXPECT_EQ(deleted.kind, QStringLiteral("delete"));
        EXPECT_EQ(deleted.trashPath, trashed);
        ASSERT_TRUE(QFileInfo::exists(trashed));
        if (c.emptyTrash)
            QFile::remove(trashed);
        if (c.alterTrashCopy)
            WriteFile(trashed, "changed in the trash");
        if (c.removeFolder)
            QDir(game + QStringLiteral("sub")).removeRecursively();

        const std::optional<RestoreItem> plan = PlanRestore(store, deleted.id);
        ASSERT_TRUE(plan);
        EXPECT_FALSE(plan->changedElsewhere);
        EXPECT_EQ(plan->folderMissing, c.removeFolder);
        EXPECT_EQ(!plan->trashPath.isEmpty(), c.fromTrash);
        ASSERT_TRUE(RestoreFiles(store, {*plan}, cli));
        EXPECT_EQ(ReadFile(path), SofaBytes(5));
        // Back from the trash means gone from it, with its record.
        EXPECT_EQ(QFileInfo::exists(trashed), c.alterTrashCopy);
        if (c.fromTrash)
            EXPECT_FALSE(QFileInfo::exists(TrashInfoOf(trashed)));
    }
    expectCopiesKept();
}

TEST_F(HistoryTest, NoCopyNoChange)
{
    // No copy can be kept: the store is spoilt, the disk fills while copying the old file (a small
    // copy goes to the journal; a large one to a file, as a second name forbids a link), or
    // another program holds the journal past the wait.
    const struct {
        const char* name;
        const char* spoilt; // a file (or a folder) here in the history folder
        bool folder;
        int noise; // bytes of the old file; the disk takes 2/3 of them
        bool busy;
    } cases[] = {
        {"a file where the history folder belongs", "", false, 0},
        {"a file where the contents folder belongs", "contents", false, 0},
        {"a folder where the journal belongs", "journal.sqlite", true, 0},
        {"full disk, copy in the journal", nullptr, false, 300 * 1024},
        {"full disk, copy as a file", nullptr, false, 1536 * 1024},
        {"busy journal", nullptr, false, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryStore own(tmp.dir.filePath(QString::fromLatin1(c.name)) + '/');
        const QString spoilt = QDir::cleanPath(own.folder() + QLatin1String(c.spoilt));
        if (!c.spoilt)
            ASSERT_TRUE(own.open());
        else if (c.folder)
            QDir().mkpath(spoilt);
        else
            MakeFile(spoilt);
        const QByteArray before = SofaBytes(400, Noise(c.noise, 7));
        const QString path = put(QStringLiteral("%1.iff").arg(c.name), before);
        const QByteArray second = QFile::encodeName(path + ".2");
        ASSERT_EQ(::link(QFile::encodeName(path).constData(), second.constData()), 0);
        clsIFF doc;
        ASSERT_TRUE(doc.LoadFile(path));
        ASSERT_TRUE(doc.SetPrice(128, 1));
        if (c.noise)
            doc.DelResource("BMP_300");
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        holder.setDatabaseName(own.folder() + QStringLiteral("journal.sqlite"));
        if (c.busy)
            ASSERT_TRUE(holder.open() && QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
        QString error;
        const auto save = [&] { return SaveDocumentKept(own, doc, path, cli, &error); };
        EXPECT_FALSE(c.noise ? WithFileSizeLimit(quint64(c.noise) * 2 / 3, save) : save());
        EXPECT_EQ(error.left(33), QStringLiteral("No copy of the file could be kept"));
        EXPECT_EQ(error.contains(QStringLiteral("busy")), c.busy) << error.toStdString();
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_TRUE(own.changes().isEmpty());
        if (!c.busy) { // a batch's file is refused alike, and named
            QList<KeptWrite> batch{{path, doc.SaveBytes().value_or("?"), cli}};
            const auto write = [&] { return WriteFilesKept(own, batch), batch[0].written; };
            EXPECT_FALSE(c.noise ? WithFileSizeLimit(quint64(c.noise) * 2 / 3, write) : write());
            EXPECT_EQ(batch[0].error.left(33), QStringLiteral("No copy of the file could be kept"));
            EXPECT_EQ(ReadFile(path), before);
        }
        holder.close(); // as the other program ends
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QString::fromLatin1(c.name));
        if (c.noise || c.busy) { // once there is room again, or no one holds it, it goes through
            ASSERT_TRUE(save()) << error.toStdString();
            EXPECT_EQ(own.content(own.changes()[0].beforeHash, &error), before);
        } else {
            EXPECT_FALSE(TrashFileKept(own, path, cli, nullptr, &error));
            EXPECT_TRUE(QFileInfo::exists(path));
        }
    }
}

TEST_F(HistoryTest, TwoWritersAtOnceLoseNoRow)
{
    constexpr int kEach = 15;
    const QString a = put(QStringLiteral("a.iff"), SofaBytes(1));
    const QString b = put(QStringLiteral("b.iff"), SofaBytes(1));
    std::atomic<int> failures{0};
    const auto writer = [&](const QString& path) {
        HistoryStore own(data); // a connection of its own, as another program has
        QString error;
        for (int i = 0; i < kEach; ++i)
            failures += !WriteFileKept(own, path, SofaBytes(quint16(100 + i)), cli, &error);
    };
    std::thread first(writer, a), second(writer, b);
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.changes({a}).size(), kEach);
    EXPECT_EQ(store.changes({b}).size(), kEach);
    expectCopiesKept();
}

TEST_F(HistoryTest, ProgramsStartingTogetherOnANewJournalAllOpenIt)
{
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> ready{0}, failed{0};
        std::vector<std::thread> programs;
        for (int i = 0; i < 6; ++i)
            programs.emplace_back([&, round] {
                HistoryStore own(tmp.dir.filePath(QString::number(round)) + '/');
                for (++ready; ready < 6;)
                    std::this_thread::yield();
                failed += !own.open() || !own.setEnabled(true);
            });
        std::for_each(programs.begin(), programs.end(), [](std::thread& p) { p.join(); });
        EXPECT_EQ(failed, 0) << round;
    }
}

TEST_F(HistoryTest, PruningNeverRemovesAFirstCopyAndForgettingKeepsTheRecent)
{
    const QByteArray noise = Noise(64 * 1024, 1);
    const QString a = put(QStringLiteral("a.iff"), SofaBytes(1, noise));
    const QString b = put(QStringLiteral("b.iff"), SofaBytes(2, noise + "b"));
    ASSERT_TRUE(store.open());
    ASSERT_TRUE(store.setSizeLimit(300 * 1024));
    for (quint16 price = 10; price < 20; ++price) {
        ASSERT_TRUE(savePrice(a, price));
        ASSERT_TRUE(savePrice(b, price));
    }
    EXPECT_LE(store.copiesSize(), 300 * 1024);
    for (const QString& path : {a, b}) {
        const QList<HistoryChange> changes = store.changes({path});
        ASSERT_FALSE(changes.isEmpty());
        EXPECT_LT(changes.size(), 10); // some were pruned
        EXPECT_TRUE(changes.last().firstCopy);
        EXPECT_EQ(changes.first().afterHash, hexOf(ReadFile(path))); // the newest stays
    }
    expectCopiesKept();
    // The original still comes back.
    ASSERT_TRUE(RestoreFiles(store, {*PlanOriginal(store, a)}, cli));
    EXPECT_EQ(ReadFile(a), SofaBytes(1, noise));

    // Forgetting what is older than 5 days takes only the change of 10 days ago.
    HistoryChange old;
    old.file = game + QStringLiteral("old.iff");
    old.time = QDateTime::currentDateTimeUtc().addDays(-10);
    old.beforeHash = hexOf("old bytes");
    QString error;
    const qint64 id = store.beginChange(old, "old bytes", &error);
    ASSERT_NE(id, 0) << error.toStdString();
    store.finishChange(id);
    const qsizetype recent = store.changes().size();
    ASSERT_TRUE(store.forget(5));
    EXPECT_EQ(store.changes().size(), recent - 1);
    EXPECT_TRUE(store.changes({old.file}).isEmpty());
    EXPECT_FALSE(store.hasContent(old.beforeHash));
    expectCopiesKept();

    ASSERT_TRUE(store.forget(std::nullopt));
    EXPECT_TRUE(store.changes().isEmpty());
    EXPECT_TRUE(QDir(store.contents().folder()).isEmpty());
}

TEST_F(HistoryTest, PendingRowsAreSettledFromTheFileOnOpen)
{
    // A program that ended between its row and the replacement, or after it; or the file was
    // changed by another since, and the copy must stay reachable.
    const QString kept = put(QStringLiteral("kept.iff"), "old bytes");
    const QString replaced = put(QStringLiteral("replaced.iff"), "old bytes");
    const QString elsewhere = put(QStringLiteral("elsewhere.iff"), "old bytes");
    ASSERT_TRUE(store.open());
    for (const QString& path : {kept, replaced, elsewhere}) {
        HistoryChange change;
        change.file = path;
        change.beforeHash = hexOf("old bytes");
        change.afterHash = hexOf("new bytes");
        QString error;
        ASSERT_NE(store.beginChange(change, "old bytes", &error), 0) << error.toStdString();
    }
    WriteFile(replaced, "new bytes");
    WriteFile(elsewhere, "other bytes");
    EXPECT_TRUE(store.changes().isEmpty()); // pending rows are not listed
    HistoryStore(data).open();              // this program runs: its rows are left alone
    EXPECT_TRUE(store.changes().isEmpty());
    // As if another program had made them and ended.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 pid = ended.processId();
    ended.waitForFinished();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "ended");
        db.setDatabaseName(store.folder() + QStringLiteral("journal.sqlite"));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("UPDATE changes SET pid = %1").arg(pid)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("ended"));

    HistoryStore reopened(data);
    ASSERT_TRUE(reopened.open());
    QStringList files;
    for (const HistoryChange& change : reopened.changes())
        files << change.file;
    files.sort();
    EXPECT_EQ(files, QStringList({elsewhere, replaced}));
    EXPECT_TRUE(reopened.hasContent(hexOf("old bytes")));
}

// The words of a change as the History window and `history` show them.
TEST(ChangeSummary, SaysEachChangedFieldInWords)
{
    ObjectFields before;
    before.resourceName = "Sofa - blue";
    before.name = "Sofa\xa0"
                  "caf\xe9";
    before.price = 400;
    const auto with = [&](auto change) {
        ObjectFields after = before;
        change(after);
        return DescribeObjectChange(128, before, after);
    };
    const QString sofa = QStringLiteral("Object 128 'Sofa\u00a0caf\u00e9': ");
    EXPECT_EQ(with([](ObjectFields&) {}), sofa + "no change");
    EXPECT_EQ(with([](ObjectFields& f) { f.sorts[1] = 4; }), sofa + "Sub-Function 0 → 4");
    EXPECT_EQ(with([](ObjectFields& f) { f.disabled = true, f.sorts[8] = 65535; }),
              sofa + "Disabled no → yes; Build Mode 0 → 65535");
    before.name = "*NONE*";
    EXPECT_EQ(with([](ObjectFields& f) { f.description = "A\r\nB"; }),
              "Object 128 'Sofa - blue': description '' → 'A\r\nB'");
}

TEST_F(HistoryTest, SettingThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(store.open());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "breaker");
        db.setDatabaseName(store.folder() + QStringLiteral("journal.sqlite"));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("DROP TABLE settings")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("breaker"));
    QString error;
    EXPECT_FALSE(store.setEnabled(false, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A copy is linked only to a file that still holds the bytes as stamped, under one name.
TEST_F(HistoryTest, LinkOnlyAFileThatHoldsTheStampedBytesUnderOneName)
{
    const ContentFiles contents(data + QStringLiteral("kept/"));
    const struct {
        bool changed, otherName, linked;
    } cases[] = {{false, false, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        const QString row = QString::number(&c - cases);
        const QString source = put(row + QStringLiteral(".iff"), "sofa " + row.toLatin1());
        if (c.otherName)
            ASSERT_EQ(::link(QFile::encodeName(source), QFile::encodeName(source + "2")), 0);
        const FileStamp stamp = StampOfPath(source);
        if (c.changed) {
            QFile file(source);
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("!");
        }
        const QByteArray hash = hexOf("sofa " + row.toLatin1());
        EXPECT_EQ(contents.link(hash, source, stamp), c.linked) << row.toStdString();
        EXPECT_EQ(contents.has(hash), c.linked) << row.toStdString();
    }
}
