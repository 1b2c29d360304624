#include "AppTestEnv.h"
#include "CatalogFilter.h"
#include "CatalogFixture.h"
#include "CollectionScan.h"
#include "CollectionScanner.h"
#include "FarArchive.h"
#include "GameArchives.h"
#include "ScriptedPrompt.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSignalSpy>

namespace
{

ObjdSpec Guid(quint32 guid, quint16 group = 0, quint16 tile = 0)
{
    ObjdSpec spec = CatalogObject(1, 10);
    spec.guid = guid;
    spec.groupId = group;
    spec.tileIndex = tile;
    return spec;
}

// One object file: OBJDs 128, 129, ... with these GUIDs (single tiles).
QByteArray Objects(std::initializer_list<quint32> guids)
{
    CatalogFixture file;
    quint16 id = 128;
    for (const quint32 guid : guids)
        file.objd(id++, "obj" + QByteArray::number(guid, 16), Guid(guid));
    return file.fileBytes();
}

QByteArray Far(const QByteArray& name, const QByteArray& bytes, FarArchive::Variant variant)
{
    return FarArchive::Build({{"readme.txt", "not an object"}, {name, bytes}}, variant);
}

// A generated game folder with downloads and archives; every case of the collection view.
class Collection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ObjdSpec twin = Guid(0x200);
        twin.catalogStringsId = 2; // no such text
        CatalogFixture text;
        text.objd(128, "Sofa", Guid(0x100))
            .ctss(1, MakeCatalogCtss("Caf\xe9\xa0Sofa", "Soft.\r\nBlue"))
            .objd(129, "twin a", twin)
            .objd(130, "twin b", twin);
        put("Downloads/a.iff", text.fileBytes());
        // A multi-tile object: the tile is not listed, yet its GUID counts.
        put("Downloads/b.iff", CatalogFixture()
                                   .objd(128, "B", Guid(0x100))
                                   .objd(129, "lead", Guid(0x300, 7, 0xFFFF))
                                   .objd(130, "tile", Guid(0x400, 7, 0))
                                   .fileBytes());
        put("Downloads/c.iff", Objects({0x400}));
        put("Downloads/copy1/d.iff", Objects({0x500}));
        put("Downloads/copy2/d.iff", Objects({0x500}));
        put("Downloads/e.iff", Objects({0x600}));
        // The same size as d.iff, other bytes: a conflict, not a copy.
        put("Downloads/f.iff", CatalogFixture().objd(128, "OBJ500", Guid(0x500)).fileBytes());
        // Readable objects, then a chunk whose size runs past the end.
        put("Downloads/damaged.iff",
            Objects({0x700}) + Chunk("OBJD", 200, "x", {}, QByteArray(2, 0), 5000));
        put("Downloads/empty.iff", {});
        put("Downloads/text.iff", QByteArray("<html>404 Not Found</html>").repeated(4));
        // Downloads hold no game archive, whatever it holds.
        put("Downloads/objects.far", Far("x.iff", Objects({0x100}), {}));
        put("GameData/Objects/wide.far",
            Far("x.iff", Objects({0x600}), FarArchive::Variant::NameLength32));
        put("ExpansionPack3/narrow.far",
            Far("y.iff", Objects({0x600}), FarArchive::Variant::NameLength16));
        put("Deluxe/broken.far", QByteArray("FAR!byAZ\x01\0\0\0\xff\xff\0\0", 16) + "junk");
        put("Deluxe/nested/ignored.far", Far("z.iff", Objects({0x100}), {}));
    }
    void put(const QString& relative, const QByteArray& bytes) { MakeFile(at(relative), bytes); }
    QString at(const QString& relative) const { return root.path() + '/' + relative; }
    QList<ObjectFile> files() const
    {
        return GatherObjectFiles({FolderEntry{at("Downloads/"), true}});
    }
    CollectionCatalog scan(ScanCache* cache = nullptr) const
    {
        return ScanCollection(files(), FindGameArchives(root.path()), cache);
    }
    QString name(const CatalogFile& file) const
    {
        return file.displayPath().mid(root.path().size() + 1);
    }
    // "GUID: file#id ..." with "*" after an identical copy.
    QStringList conflicts(const CollectionCatalog& catalog) const
    {
        QStringList out;
        for (const CatalogConflict& c : catalog.conflicts) {
            QString line = GuidText(c.guid) + ':';
            for (const ConflictMember& m : c.members)
                line += QStringLiteral(" %1#%2%3")
                            .arg(name(catalog.files[m.file]))
                            .arg(m.id)
                            .arg(m.identicalCopy ? "*" : "");
            out << line;
        }
        return out;
    }

    QTemporaryDir root;
};

} // namespace

TEST_F(Collection, ConflictsProblemsAndObjects)
{
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const CollectionCatalog catalog = scan();
    EXPECT_TRUE(prompt.asked().isEmpty()); // a scan never asks or tells anything

    EXPECT_EQ(conflicts(catalog),
              QStringList({"0x00000100: Downloads/a.iff#128 Downloads/b.iff#128",
                           "0x00000200: Downloads/a.iff#129 Downloads/a.iff#130",
                           "0x00000400: Downloads/b.iff#130 Downloads/c.iff#128",
                           // The game's files are the same bytes as this download.
                           "0x00000600: Downloads/e.iff#128* GameData/Objects/wide.far/x.iff#128* "
                           "ExpansionPack3/narrow.far/y.iff#128*",
                           "0x00000500: Downloads/f.iff#128 Downloads/copy1/d.iff#128* "
                           "Downloads/copy2/d.iff#128*"}));

    QStringList problems;
    for (const int f : catalog.problems)
        problems << name(catalog.files[f]) + " | " + catalog.files[f].reason;
    EXPECT_EQ(problems,
              QStringList({"Downloads/damaged.iff | damaged: the chunk at byte 356 runs past "
                           "the end of the file",
                           "Downloads/empty.iff | not an object file: too short",
                           "Downloads/text.iff | not an object file: wrong signature",
                           "Deluxe/broken.far | damaged archive: the manifest lies outside the "
                           "archive"}));
    const CatalogFile& damaged = catalog.files[catalog.problems[0]];
    EXPECT_EQ(damaged.problem, FileProblem::Damaged);
    ASSERT_EQ(damaged.objects.size(), 2); // its readable objects are still listed, the cut one too
    EXPECT_EQ(damaged.objects[0].guid, 0x700u);

    // The listed objects: b's tile is not, the archives' objects are and cannot be opened.
    QStringList rows;
    for (const CatalogRow& row : catalog.rows) {
        const auto& o = catalog.object(row);
        rows << QStringLiteral("%1#%2 %3 %4")
                    .arg(name(catalog.files[row.file]))
                    .arg(o.id)
                    .arg(GuidText(o.guid))
                    .arg(catalog.files[row.file].canOpen());
    }
    EXPECT_EQ(rows.size(), 14);
    EXPECT_TRUE(rows.contains("Downloads/b.iff#129 0x00000300 1"));
    EXPECT_FALSE(rows.contains("Downloads/b.iff#130 0x00000400 1"));
    EXPECT_EQ(rows.last(), "ExpansionPack3/narrow.far/y.iff#128 0x00000600 0");

    const auto& sofa = catalog.files[0].objects[0];
    EXPECT_EQ(sofa.name, QByteArray("Caf\xe9\xa0Sofa"));
    EXPECT_EQ(sofa.description, "Soft.\r\nBlue");
    EXPECT_EQ(sofa.resourceName, "Sofa");
    EXPECT_EQ(sofa.price, 10);
    EXPECT_EQ(catalog.files[1].guids.size(), 3); // tiles included
}

TEST_F(Collection, FilterMatchesEveryWordInAnyField)
{
    const CollectionCatalog catalog = scan();
    CatalogFilter filter(catalog);
    const auto found = [&](const QString& text) {
        QStringList out;
        for (const int row : filter.match(text))
            out << QStringLiteral("%1#%2")
                       .arg(QFileInfo(catalog.files[catalog.rows[row].file].displayPath())
                                .fileName())
                       .arg(catalog.object(catalog.rows[row]).id);
        return out;
    };
    const QList<QPair<QString, QStringList>> cases = {
        {"CAFÉ", {"a.iff#128"}},              // catalog name, decoded, any case
        {"café\u00a0sofa", {"a.iff#128"}},    // a non-breaking space parts words
        {"blue soft", {"a.iff#128"}},         // description, words in any order
        {"twin", {"a.iff#129", "a.iff#130"}}, // resource name
        {"twin b", {"a.iff#130"}},
        {"twin b ", {"a.iff#130"}},                              // a trailing blank changes nothing
        {"y.iff", {"y.iff#128"}},                                // file name inside an archive
        {"0x00000500", {"f.iff#128", "d.iff#128", "d.iff#128"}}, // GUID
        {"nothing-like-this", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(found(text), expected) << text.toStdString();
    EXPECT_EQ(filter.match("  ").size(), catalog.rows.size()); // blanks: every row
    // Narrowing by typing on gives what a fresh search gives.
    CatalogFilter fresh(catalog);
    filter.match("o");
    EXPECT_EQ(filter.match("obj7"), fresh.match("obj7"));
    EXPECT_TRUE(filter.matches(catalog.rows.size() - 1, "600"));
}

TEST_F(Collection, RescanReadsOnlyFilesWhoseSizeOrTimeChanged)
{
    ScanCache cache;
    scan(&cache);
    // Same size and time, other bytes: taken from the cache. A new time: read again.
    const QString c = at("Downloads/c.iff");
    const QDateTime time = QFileInfo(c).lastModified();
    put("Downloads/c.iff", Objects({0x999}));
    const auto touch = [&](const QDateTime& when) {
        QFile file(c);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(when, QFileDevice::FileModificationTime);
    };
    ASSERT_TRUE(touch(time));
    const auto guidOfC = [&] {
        for (const CatalogFile& f : scan(&cache).files)
            if (f.path == c)
                return f.objects.value(0).guid;
        return 0u;
    };
    EXPECT_EQ(guidOfC(), 0x400u);
    ASSERT_TRUE(touch(time.addSecs(5)));
    EXPECT_EQ(guidOfC(), 0x999u);
}

TEST_F(Collection, ScannerReportsProgressAndCancels)
{
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    for (int i = 0; i < 1000; ++i)
        put(QStringLiteral("Downloads/many/%1.iff").arg(i), Objects({quint32(0x10000 + i)}));

    CollectionScanner scanner;
    QSignalSpy finished(&scanner, &CollectionScanner::finished);
    QSignalSpy progress(&scanner, &CollectionScanner::progress);
    scanner.start(files(), root.path());
    scanner.cancel();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_TRUE(scanner.catalog().cancelled);
    EXPECT_LT(scanner.catalog().files.size(), 1000);

    // Started again while running: only the last scan reports.
    scanner.start(files(), root.path());
    scanner.start(files(), root.path());
    ASSERT_TRUE(finished.wait(20000));
    QCoreApplication::processEvents();
    ASSERT_EQ(finished.size(), 2);
    EXPECT_FALSE(finished.at(1).at(0).toBool());
    EXPECT_EQ(scanner.catalog().conflicts.size(), 5);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0), progress.last().at(1)); // done of total, the last one
    EXPECT_EQ(progress.last().at(1).toInt(), files().size() + 3);

    // Destroyed while scanning: stops and waits, never reports.
    {
        CollectionScanner doomed;
        doomed.start(files(), root.path());
    }
    EXPECT_EQ(finished.size(), 2);
}

TEST(GameArchives, FarFilesDirectlyInTheGameFoldersAnyCaseInOrder)
{
    QTemporaryDir game;
    for (const char* file :
         {"gamedata/OBJECTS/b.far", "gamedata/OBJECTS/a.FAR", "gamedata/OBJECTS/x.iff",
          "gamedata/OBJECTS/sub/deep.far", "ExpansionShared/s.far", "Deluxe/d.far",
          "ExpansionPack2/q.far", "expansionpack/p.far", "Downloads/own.far", "top.far"})
        MakeFile(game.filePath(file));
    QStringList found;
    for (const QString& path : FindGameArchives(game.path() + '/'))
        found << QDir(game.path()).relativeFilePath(path);
    EXPECT_EQ(found, QStringList({"gamedata/OBJECTS/a.FAR", "gamedata/OBJECTS/b.far",
                                  "ExpansionShared/s.far", "Deluxe/d.far", "expansionpack/p.far",
                                  "ExpansionPack2/q.far"}));
    EXPECT_TRUE(FindGameArchives(QString()).isEmpty());
}
