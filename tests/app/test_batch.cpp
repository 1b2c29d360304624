// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchEngine.h"
#include "CollectionScan.h"
#include "HistoryRestore.h"
#include "HistoryTestEnv.h"

#include <QSqlQuery>

namespace
{

// A catalog of the loose files as scanned (read before any is taken away), every object a row.
CollectionCatalog CatalogOf(const QStringList& paths, const QList<CatalogFile>& more = {})
{
    CollectionCatalog catalog;
    for (const QString& path : paths)
        catalog.files << ScanObjectFile(path);
    catalog.files << more;
    for (int f = 0; f < catalog.files.size(); ++f) {
        for (int o = 0; o < catalog.files[f].objects.size(); ++o)
            catalog.rows << CatalogRow{f, o};
    }
    return catalog;
}

QList<int> AllRows(const CollectionCatalog& catalog)
{
    QList<int> rows;
    for (int r = 0; r < catalog.rows.size(); ++r)
        rows << r;
    return rows;
}

QByteArray Sofa(quint16 price, quint16 disabled, const SortSet& sorts)
{
    return CatalogFixture()
        .objd(128, "Sofa objd", ObjdSpec{1, 0, disabled, price, 2000, 128, sorts})
        .ctss(2000, MakeCatalogCtss("Sofa\xa0"
                                    "caf\xe9",
                                    "Soft.\r\nBlue \x80"))
        .fileBytes();
}

using BatchTest = HistoryTest;

} // namespace

TEST(ObjectEditTest, MarksKeepWhatIsNotMarkedAndPricesRoundHalvesUp)
{
    // Function 0x0302 holds Surfaces and a bit no row shows; Room Kitchen; Build Mode Stairs.
    const SortSet held = {0x0302, 4, 1, 0, 0, 0, 0, 0, 3};
    SortMarks marks;
    marks.set[0] = 1;   // + Seating
    marks.clear[0] = 2; // - Surfaces
    marks.clear[2] = 2; // - Bedroom, not held
    EXPECT_EQ(marks.applyTo(held), (SortSet{0x0301, 4, 1, 0, 0, 0, 0, 0, 3}));
    marks.buildMode = 1;
    EXPECT_EQ(marks.applyTo(held)[8], 1);

    // Each row: price, percentage, the price after (-1: refused).
    const std::tuple<qint32, const char*, qint64> cases[] = {
        {45, "10", 50},       {45, "-10", 41},         {3, "50", 5},          {1, "-50", 1},
        {250, "12.5", 281},   {100, "-100", 0},        {100, "-100.5", 0},    {100, "-101", -1},
        {65535, "0.001", -1}, {65534, "0.001", 65535}, {65000, "0.8", 65520}, {0, "1000000", 0}};
    for (const auto& [price, percent, after] : cases) {
        ObjectEdit edit;
        edit.pricePercent = ParsePercent(QString::fromLatin1(percent));
        ASSERT_TRUE(edit.pricePercent) << percent;
        ObjectFields before;
        before.name = "Chair";
        before.price = price;
        QString refusal;
        const std::optional<ObjectFields> planned = PlanObjectEdit(7, before, edit, &refusal);
        EXPECT_EQ(planned ? planned->price : -1, after) << price << ' ' << percent;
        EXPECT_EQ(refusal.contains(QStringLiteral("Object 7 'Chair'")), after < 0);
    }
    for (const char* bad : {"", "abc", "1e3", "1.1234567", "1,5", "--5", "1000000.1"})
        EXPECT_FALSE(ParsePercent(QString::fromLatin1(bad))) << bad;
}

TEST_F(BatchTest, MixedBatchChangesWhatItCanNamesTheRestAndRestoresInOneStep)
{
    const SortSet sorts = {2, 0, 0, 0, 0, 0, 0, 0, 0};
    const QString good = put("good.iff", Sofa(400, 0, sorts));
    const QString same = put("same.iff", Sofa(400, 1, {3, 0, 0, 0, 0, 0, 0, 0, 0}));
    const QString locked = put("readonly.iff", Sofa(400, 0, sorts));
    const QString damaged = put("damaged.iff", Sofa(400, 0, sorts) + "cut off");
    const QString vanished = put("vanished.iff", Sofa(400, 0, sorts));
    CatalogFile archive;
    archive.path = game + "objects.far";
    archive.entry = "chair.iff";
    archive.inArchive = true;
    struct CatalogObject chair {
        5, "Chair", "Game chair"
    };
    archive.objects << chair;
    const CollectionCatalog catalog = CatalogOf({good, same, locked, damaged, vanished}, {archive});
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    QFile::remove(vanished);
    QHash<QString, QByteArray> kept;
    for (const QString& file : {same, locked, damaged})
        kept.insert(file, ReadFile(file));

    const BatchSelection selection = SelectRows(catalog, AllRows(catalog));
    ASSERT_EQ(selection.leftAlone, QStringList("Game chair (" + archive.displayPath() + ")"));
    ObjectEdit edit;
    edit.disabled = true;
    edit.sortMarks.set[0] = 1;
    const BatchPlan plan = PlanBatch(selection, edit);
    EXPECT_EQ(std::tuple(plan.objectsToChange, plan.filesToChange, plan.alreadyAsAsked),
              std::tuple(4, 4, 1));
    BatchOptions options;
    options.info.program = QStringLiteral("window");
    options.info.batch = NewBatchId();
    const BatchResult result = ApplyBatch(store, selection.files, edit, options);

    // Each row: the file, how it failed, objects changed, objects already as asked.
    const std::tuple<QString, BatchFailure, int, int> expected[] = {
        {good, BatchFailure::None, 1, 0},
        {same, BatchFailure::None, 0, 1},
        {locked, BatchFailure::ReadOnly, 0, 0},
        {damaged, BatchFailure::Damaged, 0, 0},
        {vanished, BatchFailure::Vanished, 0, 0}};
    ASSERT_EQ(result.files.size(), std::size(expected));
    for (int i = 0; i < result.files.size(); ++i) {
        const FileOutcome& outcome = result.files[i];
        EXPECT_EQ(
            std::tuple(outcome.file, outcome.failure, outcome.changed, outcome.alreadyAsAsked),
            expected[i]);
    }
    EXPECT_EQ(result.filesChanged(), 1);
    for (const QString& file : {same, locked, damaged})
        EXPECT_EQ(ReadFile(file), kept[file]) << file.toStdString();
    clsIFF doc;
    ASSERT_TRUE(doc.LoadFile(good));
    EXPECT_EQ(std::tuple(doc.GetDisabled(128), doc.GetSorts(128)[0]), std::tuple(true, 3));
    BatchResult shown = result;
    shown.leftAlone = QStringList(12, selection.leftAlone.first());
    EXPECT_TRUE(
        shown.summary().contains("left alone: 12\n  Game chair (" + archive.displayPath() + ")\n"))
        << shown.summary().toStdString();
    EXPECT_TRUE(shown.summary().contains("  and 2 more\n"));
    shown.leftAlone.resize(10); // exactly as many as are named
    EXPECT_FALSE(shown.summary().contains(" more\n"));
    EXPECT_TRUE(result.summary().contains("readonly.iff (read-only)"))
        << result.summary().toStdString();

    const QList<RestoreItem> restore = PlanBatchRestore(store, options.info.batch);
    ASSERT_EQ(restore.size(), 1);
    ASSERT_TRUE(RestoreFiles(store, restore, {QStringLiteral("window")}));
    EXPECT_EQ(ReadFile(good), Sofa(400, 0, sorts));
}

TEST_F(BatchTest, CancelStopsBeforeTheNextFileAndKeepsWhatWasDone)
{
    QList<BatchFile> files;
    for (int i = 0; i < 4; ++i) {
        const QString file = put(QStringLiteral("f%1.iff").arg(i), SofaBytes(100));
        files << BatchFile{file, ScanObjectFile(file).objects};
    }
    ObjectEdit edit;
    edit.pricePercent = 50 * 1000000LL;
    std::atomic<bool> cancel = false;
    BatchOptions options;
    options.info.batch = NewBatchId();
    const BatchResult result = ApplyBatch(
        store, files, edit, options, [&](int done, int) { cancel = done == 2; }, &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.files.size(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(priceOf(files[i].path), i < 2 ? 150 : 100) << i;
    EXPECT_EQ(store.batch(options.info.batch).size(), 2);
}

TEST_F(BatchTest, MoveNeverOverwritesAndItsRestoreMovesBack)
{
    for (const NameClash clash : {NameClash::Skip, NameClash::KeepBoth}) {
        const QString a = put("a.iff", SofaBytes(1)), b = put("b.iff", SofaBytes(2));
        const QString to = game + "tidy/";
        MakeFile(to + "a.iff", "theirs");
        BatchOptions options;
        options.info.batch = NewBatchId();
        const BatchResult result = MoveBatch(store, {a, b}, to, clash, options);
        const bool keepBoth = clash == NameClash::KeepBoth;
        EXPECT_EQ(result.files[0].failure, keepBoth ? BatchFailure::None : BatchFailure::NameClash);
        EXPECT_EQ(QFileInfo::exists(a), !keepBoth);
        EXPECT_EQ(ReadFile(to + "a.iff"), QByteArray("theirs"));
        EXPECT_EQ(priceOf(to + "a (2).iff"), keepBoth ? 1 : -1);
        EXPECT_EQ(priceOf(to + "b.iff"), 2);

        // Something new at b's old place is never overwritten by the move back.
        if (keepBoth)
            MakeFile(b, "new");
        QList<RestoreOutcome> outcomes;
        RestoreFiles(store, PlanBatchRestore(store, options.info.batch), {"cli"}, &outcomes);
        EXPECT_EQ(priceOf(a), 1);
        EXPECT_EQ(ReadFile(b), keepBoth ? QByteArray("new") : SofaBytes(2));
        EXPECT_EQ(QFileInfo::exists(to + "b.iff"), keepBoth);
        EXPECT_FALSE(QFileInfo::exists(to + "a (2).iff"));
        EXPECT_EQ(outcomes.last().restored, !keepBoth);
        QDir(to).removeRecursively();
        QFile::remove(b);
    }
}

TEST_F(BatchTest, GroupSaveGoesPastFilesItCannotWriteAndIsRestoredAsOne)
{
    MakeFile(game + "blocker", "a file where a folder should be");
    QDir().mkpath(game + "folder.iff");
    const QByteArray large = SofaBytes(100, Noise(1536 * 1024, 3)); // kept by a link
    // Each row: the file, its bytes before (empty: none), whether the group replaces it.
    const std::tuple<QString, QByteArray, bool> cases[] = {
        {put("a.iff", SofaBytes(100)), SofaBytes(100), true},
        {game + "blocker/b.iff", {}, false},
        {put("large.iff", large), large, true},
        {game + "folder.iff", {}, false},
        {game + "new/c.iff", {}, true},
    };
    ChangeInfo info = cli;
    info.batch = NewBatchId();
    QList<KeptWrite> group;
    for (const auto& [path, before, replaced] : cases)
        group << KeptWrite{path, SofaBytes(quint16(group.size())), info};
    WriteFilesKept(store, group);
    for (int i = 0; i < group.size(); ++i) {
        const auto& [path, before, replaced] = cases[i];
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(std::tuple(group[i].written, group[i].error.isEmpty()),
                  std::tuple(replaced, replaced));
        EXPECT_EQ(ReadFile(path), replaced ? group[i].bytes : before);
        EXPECT_EQ(store.latestChange(QFileInfo(path).absoluteFilePath()).has_value(), replaced);
    }
    expectCopiesKept();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
        db.setDatabaseName(store.folder() + "journal.sqlite");
        ASSERT_TRUE(db.open());
        QSqlQuery left(db); // no row left pending
        ASSERT_TRUE(left.exec("SELECT COUNT(*) FROM changes WHERE state <> 'done'") && left.next());
        EXPECT_EQ(left.value(0).toInt(), 0);
    }
    QSqlDatabase::removeDatabase("peek");

    ASSERT_TRUE(RestoreFiles(store, PlanBatchRestore(store, info.batch), cli));
    for (const auto& [path, before, replaced] : cases)
        EXPECT_EQ(ReadFile(path), before) << path.toStdString();
}
