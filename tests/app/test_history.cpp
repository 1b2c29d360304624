#include "ChangeSummary.h"
#include "HistoryRestore.h"
#include "HistoryTestEnv.h"
#include "Sha256.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <unistd.h>

namespace
{

QByteArray hexOf(const QByteArray& bytes)
{
    return Sha256(bytes).toHex();
}

} // namespace

TEST_F(HistoryTest, SaveIsRecordedAndUndoneAndTheUndoUndone)
{
    const QByteArray original = SofaBytes(400);
    const QString path = put(QStringLiteral("sofa.iff"), original);
    ASSERT_TRUE(savePrice(path, 450));
    const QByteArray saved = ReadFile(path);

    QList<HistoryChange> changes = store.changes();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].file, path);
    EXPECT_EQ(changes[0].kind, QStringLiteral("save"));
    EXPECT_EQ(changes[0].program, QStringLiteral("cli"));
    EXPECT_EQ(changes[0].beforeHash, hexOf(original));
    EXPECT_EQ(changes[0].afterHash, hexOf(saved));
    EXPECT_EQ(changes[0].beforeSize, original.size());
    EXPECT_TRUE(changes[0].firstCopy);

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
    expectCopiesKept();
}

TEST_F(HistoryTest, SavingTheSameBytesAgainRecordsNothingAndHistoryOffRecordsNothing)
{
    const QString path = put(QStringLiteral("sofa.iff"), SofaBytes(400));
    ASSERT_TRUE(savePrice(path, 450));
    ASSERT_TRUE(savePrice(path, 450)); // the same bytes
    EXPECT_EQ(store.changes().size(), 1);

    HistoryStore other(data); // the setting is shared through the journal
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.setEnabled(false));
    EXPECT_FALSE(store.enabled());
    ASSERT_TRUE(savePrice(path, 460));
    EXPECT_EQ(priceOf(path), 460);
    EXPECT_EQ(store.changes().size(), 1);
}

TEST_F(HistoryTest, BatchIsRestoredInOneStep)
{
    const QStringList paths = {put(QStringLiteral("a.iff"), SofaBytes(1)),
                               put(QStringLiteral("b.iff"), SofaBytes(2)),
                               put(QStringLiteral("c.iff"), SofaBytes(3))};
    QList<QByteArray> before;
    for (const QString& path : paths)
        before << ReadFile(path);
    const ChangeInfo batch{QStringLiteral("window"), NewBatchId(), QStringLiteral("batch")};
    for (const QString& path : paths)
        ASSERT_TRUE(savePrice(path, 999, nullptr, batch));
    ASSERT_TRUE(savePrice(paths[0], 1000, nullptr, batch)); // a file changed twice in it
    EXPECT_EQ(store.batch(batch.batch).size(), 4);

    const QList<RestoreItem> plan = PlanBatchRestore(store, batch.batch);
    ASSERT_EQ(plan.size(), 3);
    QList<RestoreOutcome> outcomes;
    ASSERT_TRUE(RestoreFiles(store, plan, cli, &outcomes));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadFile(paths[i]), before[i]) << i;
    // The restore is one batch of its own, so it is undone in one step as well.
    const QString restoreBatch = store.changes().first().batch;
    EXPECT_EQ(store.batch(restoreBatch).size(), 3);
    ASSERT_TRUE(RestoreFiles(store, PlanBatchRestore(store, restoreBatch), cli));
    EXPECT_EQ(priceOf(paths[0]), 1000);
    EXPECT_EQ(priceOf(paths[2]), 999);
}

TEST_F(HistoryTest, RestoreAfterAChangeElsewhereSaysSoAndKeepsThatChange)
{
    const QString path = put(QStringLiteral("sofa.iff"), SofaBytes(400));
    const QByteArray original = ReadFile(path);
    ASSERT_TRUE(savePrice(path, 450));
    const QByteArray elsewhere = SofaBytes(777);
    WriteFile(path, elsewhere); // another program

    const std::optional<RestoreItem> plan = PlanUndoLatest(store, path);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->changedElsewhere);
    ASSERT_TRUE(RestoreFiles(store, {*plan}, cli));
    EXPECT_EQ(ReadFile(path), original);
    // What the other program wrote was kept first.
    EXPECT_EQ(store.changes().first().beforeHash, hexOf(elsewhere));
    ASSERT_TRUE(RestoreFiles(store, {*PlanUndoLatest(store, path)}, cli));
    EXPECT_EQ(ReadFile(path), elsewhere);
}

TEST_F(HistoryTest, DeletedFileComesBackFromTheTrashOrElseFromTheStore)
{
    struct Case {
        const char* name;
        bool emptyTrash, alterTrashCopy, removeFolder;
        bool fromTrash;
    };
    const Case cases[] = {
        {"trash copy there", false, false, false, true},
        {"trash emptied", true, false, false, false},
        {"trash copy altered", false, true, false, false},
        {"folder gone too", true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = put(QStringLiteral("sub/%1.iff").arg(c.name), SofaBytes(5));
        const QByteArray original = ReadFile(path);
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
        EXPECT_EQ(ReadFile(path), original);
        // Back from the trash means gone from it, with its record.
        EXPECT_EQ(QFileInfo::exists(trashed), c.alterTrashCopy);
        if (c.fromTrash)
            EXPECT_FALSE(QFileInfo::exists(TrashInfoOf(trashed)));
    }
    expectCopiesKept();
}

TEST_F(HistoryTest, NoCopyNoChange)
{
    // The store cannot be kept: each way leaves the file as it was, with the reason.
    struct Case {
        const char* name;
        std::function<void(const QString& historyFolder)> spoil;
    };
    const Case cases[] = {
        {"a file where the history folder belongs",
         [](const QString& folder) { MakeFile(QDir::cleanPath(folder)); }},
        {"a file where the contents folder belongs",
         [](const QString& folder) { MakeFile(folder + QStringLiteral("contents")); }},
        {"a folder where the journal belongs",
         [](const QString& folder) { QDir().mkpath(folder + QStringLiteral("journal.sqlite")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString caseData = tmp.dir.filePath(QString::fromLatin1(c.name)) + '/';
        HistoryStore spoilt(caseData);
        c.spoil(spoilt.folder());
        const QString path = put(QStringLiteral("sofa.iff"), SofaBytes(400));
        clsIFF doc;
        ASSERT_TRUE(doc.LoadFile(path));
        ASSERT_TRUE(doc.SetPrice(128, 1));
        QString error;
        EXPECT_FALSE(SaveDocumentKept(spoilt, doc, path, cli, &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("No copy of the file could be kept")))
            << error.toStdString();
        EXPECT_EQ(ReadFile(path), SofaBytes(400));
        EXPECT_FALSE(TrashFileKept(spoilt, path, cli, nullptr, &error));
        EXPECT_TRUE(QFileInfo::exists(path));
    }
}

TEST_F(HistoryTest, FullDiskLeavesTheFileAndTheJournalAsTheyWere)
{
    // The old file holds bytes that do not compress, the new one is small: the copy hits the
    // limit, the new file does not. A small copy goes to the journal; a large one is copied
    // to a file when it cannot be linked (here: the file has a second name).
    for (const int size : {300 * 1024, 1536 * 1024}) {
        SCOPED_TRACE(size);
        QByteArray noise(size, '\0');
        quint32 seed = 7;
        for (char& byte : noise) {
            seed = seed * 1664525u + 1013904223u;
            byte = char(seed >> 24);
        }
        const QString path = put(QStringLiteral("big%1.iff").arg(size), SofaBytes(400, noise));
        ASSERT_EQ(
            ::link(QFile::encodeName(path).constData(), QFile::encodeName(path + ".2").constData()),
            0);
        HistoryStore own(data + QString::number(size));
        ASSERT_TRUE(own.open());
        clsIFF doc;
        ASSERT_TRUE(doc.LoadFile(path));
        doc.DelResource("BMP_300");
        QString error;
        EXPECT_FALSE(WithFileSizeLimit(
            quint64(size) * 2 / 3, [&] { return SaveDocumentKept(own, doc, path, cli, &error); }));
        EXPECT_TRUE(error.startsWith(QStringLiteral("No copy of the file could be kept")))
            << error.toStdString();
        EXPECT_EQ(ReadFile(path), SofaBytes(400, noise));
        EXPECT_TRUE(own.changes().isEmpty());
        // Once there is room again, the save goes through.
        ASSERT_TRUE(SaveDocumentKept(own, doc, path, cli, &error)) << error.toStdString();
        EXPECT_EQ(own.content(own.changes()[0].beforeHash, &error), SofaBytes(400, noise));
    }
}

TEST_F(HistoryTest, LargeCopyIsTheReplacedFileItself)
{
    QByteArray body(2 * 1024 * 1024, 'x');
    const QString path = put(QStringLiteral("large.iff"), SofaBytes(400, body));
    const QByteArray original = ReadFile(path);
    const FileStamp before = StampOfPath(path);
    ASSERT_TRUE(savePrice(path, 1));
    const QString kept = store.contents().fileOf(hexOf(original));
    EXPECT_EQ(StampOfPath(kept).inode, before.inode); // linked, not copied
    EXPECT_EQ(StampOfPath(kept).links, 1u);
    ASSERT_TRUE(RestoreFiles(store, {*PlanUndoLatest(store, path)}, cli));
    EXPECT_EQ(ReadFile(path), original);
}

TEST_F(HistoryTest, BusyJournalRefusesTheChangeAfterWaiting)
{
    const QString path = put(QStringLiteral("sofa.iff"), SofaBytes(400));
    ASSERT_TRUE(store.open());
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        other.setDatabaseName(store.folder() + QStringLiteral("journal.sqlite"));
        ASSERT_TRUE(other.open());
        QSqlQuery hold(other);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QString error;
        EXPECT_FALSE(savePrice(path, 1, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("busy"))) << error.toStdString();
        hold.exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    EXPECT_EQ(ReadFile(path), SofaBytes(400));
    EXPECT_TRUE(store.changes().isEmpty());
}

TEST_F(HistoryTest, TwoWritersAtOnceLoseNoRow)
{
    constexpr int kEach = 15;
    const QString a = put(QStringLiteral("a.iff"), SofaBytes(1));
    const QString b = put(QStringLiteral("b.iff"), SofaBytes(1));
    std::atomic<int> failures{0};
    const auto writer = [&](const QString& path) {
        HistoryStore own(data); // a connection of its own, as another program has
        for (int i = 0; i < kEach; ++i) {
            QString error;
            if (!WriteFileKept(own, path, SofaBytes(quint16(100 + i)), cli, &error))
                ++failures;
        }
    };
    QThread* first = QThread::create(writer, a);
    QThread* second = QThread::create(writer, b);
    first->start();
    second->start();
    first->wait();
    second->wait();
    delete first;
    delete second;
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.changes({a}).size(), kEach);
    EXPECT_EQ(store.changes({b}).size(), kEach);
    expectCopiesKept();
}

TEST_F(HistoryTest, PruningNeverRemovesAFirstCopy)
{
    QByteArray noise(64 * 1024, '\0');
    quint32 seed = 1;
    for (char& byte : noise) {
        seed = seed * 1664525u + 1013904223u;
        byte = char(seed >> 24);
    }
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

    ASSERT_TRUE(store.forget(std::nullopt));
    EXPECT_TRUE(store.changes().isEmpty());
    EXPECT_TRUE(QDir(store.contents().folder()).isEmpty());
}

TEST_F(HistoryTest, ForgetOlderThanKeepsTheRecentChanges)
{
    const QString path = put(QStringLiteral("sofa.iff"), SofaBytes(400));
    ASSERT_TRUE(savePrice(path, 1));
    HistoryChange old;
    old.file = game + QStringLiteral("old.iff");
    old.time = QDateTime::currentDateTimeUtc().addDays(-10);
    old.beforeHash = hexOf("old bytes");
    QString error;
    const qint64 id = store.beginChange(old, "old bytes", &error);
    ASSERT_NE(id, 0) << error.toStdString();
    store.finishChange(id);
    ASSERT_EQ(store.changes().size(), 2);
    ASSERT_TRUE(store.forget(5));
    const QList<HistoryChange> left = store.changes();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].file, path);
    EXPECT_FALSE(store.hasContent(old.beforeHash));
    expectCopiesKept();
}

TEST_F(HistoryTest, PendingRowsAreSettledFromTheFileOnOpen)
{
    // A program that ended between its row and the replacement, or after it.
    const QString kept = put(QStringLiteral("kept.iff"), "old bytes");
    const QString replaced = put(QStringLiteral("replaced.iff"), "old bytes");
    ASSERT_TRUE(store.open());
    for (const QString& path : {kept, replaced}) {
        HistoryChange change;
        change.file = path;
        change.beforeHash = hexOf("old bytes");
        change.afterHash = hexOf("new bytes");
        QString error;
        ASSERT_NE(store.beginChange(change, "old bytes", &error), 0) << error.toStdString();
    }
    WriteFile(replaced, "new bytes");
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
    const QList<HistoryChange> changes = reopened.changes();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].file, replaced);
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
    const std::pair<QString, QString> cases[] = {
        {with([](ObjectFields&) {}), "Object 128 'Sofa\u00a0caf\u00e9': no change"},
        {with([](ObjectFields& f) { f.sorts[1] = 4; }), "Object 128 'Sofa\u00a0caf\u00e9': "
                                                        "Sub-Function 0 → 4"},
        {with([](ObjectFields& f) {
             f.disabled = true;
             f.sorts[8] = 65535;
         }),
         "Object 128 'Sofa\u00a0caf\u00e9': Disabled no → yes; Build Mode 0 → 65535"},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
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
