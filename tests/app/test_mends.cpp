// SPDX-License-Identifier: GPL-3.0-or-later
#include "DuplicateMend.h"
#include "GuidMend.h"
#include "HistoryRestore.h"
#include "HistoryTestEnv.h"

#include <QtEndian>

namespace
{

class Mends : public HistoryTest
{
protected:
    // Every chunk's bytes after the mend, against before with only each changed OBJD's GUID
    // field replaced.
    void expectOnlyGuidsChanged(const QString& path, const QByteArray& before,
                                const GuidMendPlan& plan)
    {
        clsIFF old, now;
        ASSERT_TRUE(old.LoadData(before));
        ASSERT_TRUE(now.LoadFile(path));
        ASSERT_EQ(now.ResourceCount(), old.ResourceCount() + 1); // and a new resource map
        EXPECT_EQ(now.Resource(now.ResourceCount()).Format, "rsmp");
        for (int i = 1; i <= old.ResourceCount(); ++i) {
            QByteArray expected = old.Resource(i).PrintResource();
            for (const GuidChange& change : plan.changes) {
                if (old.Resource(i).Format == "OBJD" && old.Resource(i).ID == change.id)
                    qToLittleEndian(change.newGuid, expected.data() + 76 + 28);
            }
            EXPECT_EQ(now.Resource(i).PrintResource(), expected) << i;
        }
    }
};

} // namespace

TEST_F(Mends, NewGuidsForOneTileOrEveryTileAreRestorable)
{
    const QByteArray reference = QByteArray::fromHex("80000000"), none("nothing");
    const QSet<quint32> used = {0x80, 0x81, 0x82, 0x83, 0xABCDEF01};
    struct Case {
        quint16 object;
        QList<quint16> changed;
        QByteArray bhav;
        std::optional<quint32> requested;
        QString error;
    };
    const Case cases[] = {
        {128, {128}, reference, std::nullopt, ""}, // its code tests for its own GUID
        {131, {130, 131}, none, 0x12345678, ""},   // a tile: its lead too
        {129, {}, none, 0x82, "The GUID 0x00000082 is already in use."},
        {77, {}, none, std::nullopt, "The file holds no object 77."},
    };
    for (const Case& c : cases) {
        const QByteArray before = CatalogFixture()
                                      .chunk("BHAV", 4096, "code", c.bhav)
                                      .objd(128, "Chair \xe9", {1, 0, 0, 250, 2000, 128})
                                      .objd(129, "Lamp", {2, 0, 0, 40, 0, 129})
                                      .objd(130, "Bed lead", {5, 0xFFFF, 0, 900, 2000, 130})
                                      .objd(131, "Bed tile", {5, 0, 0, 0, 2000, 131})
                                      .ctss(2000, MakeCatalogCtss("Oak\xa0Bed", "Soft\r\n"))
                                      .fileBytes();
        const QString path = put("object.iff", before);
        clsIFF doc;
        ASSERT_TRUE(doc.LoadFile(path));
        const GuidMendPlan plan = PlanNewGuid(doc, c.object, used, c.requested);
        EXPECT_EQ(plan.error, c.error);
        QList<quint16> ids;
        QSet<quint32> fresh;
        for (const GuidChange& change : plan.changes) {
            ids << change.id;
            EXPECT_EQ(change.oldGuid, change.id);
            EXPECT_FALSE(used.contains(change.newGuid) || change.newGuid == 0);
            fresh.insert(change.newGuid);
        }
        EXPECT_EQ(ids, c.changed);
        EXPECT_EQ(fresh.size(), ids.size());
        EXPECT_EQ(plan.selfReference, c.bhav == reference);
        if (c.requested && c.error.isEmpty())
            EXPECT_EQ(plan.changes[1].newGuid, *c.requested);
        QString error;
        EXPECT_EQ(ApplyNewGuid(store, doc, path, plan, cli, &error), c.error.isEmpty());
        if (!c.error.isEmpty()) {
            EXPECT_EQ(ReadFile(path), before);
            continue;
        }
        expectOnlyGuidsChanged(path, before, plan);
        const auto undo = PlanUndoLatest(store, path);
        ASSERT_TRUE(undo);
        EXPECT_TRUE(RestoreFiles(store, {*undo}, cli));
        EXPECT_EQ(ReadFile(path), before);
    }
}

TEST_F(Mends, KeepOneTrashesTheOthersAsOneRestorableChange)
{
    const std::pair<QStringList, int> defaults[] = {
        {{"/g/Downloads/b/sofa.iff", "/g/Downloads/Sofa.iff", "/g/Downloads/a.iff"}, 2},
        {{"/g/x/../B.iff", "/g/a.iff"}, 1}, // the same depth once made clean; then by name
        {{"/g/Downloads/one.iff"}, 0},
    };
    for (const auto& [paths, keep] : defaults)
        EXPECT_EQ(DefaultCopyToKeep(paths), keep) << paths.join(' ').toStdString();

    const QStringList paths = {put("a/sofa.iff", SofaBytes(5)), put("sofa.iff", SofaBytes(5)),
                               put("b/c/sofa.iff", SofaBytes(5))};
    QStringList trashed;
    QString error;
    ASSERT_TRUE(KeepOneCopy(store, paths, DefaultCopyToKeep(paths), cli, &trashed, &error));
    EXPECT_EQ(trashed, QStringList({paths[0], paths[2]}));
    EXPECT_TRUE(QFile::exists(paths[1]));
    EXPECT_FALSE(QFile::exists(paths[0]) || QFile::exists(paths[2]));
    const QList<HistoryChange> changes = store.changes();
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0].batch, changes[1].batch);
    EXPECT_TRUE(RestoreFiles(store, PlanBatchRestore(store, changes[0].batch), cli));
    for (const QString& path : paths)
        EXPECT_EQ(ReadFile(path), SofaBytes(5));
}
