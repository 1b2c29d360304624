// SPDX-License-Identifier: GPL-3.0-or-later
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

// An object with this GUID and catalog text 1 (a single tile unless told).
ObjdSpec Guid(quint32 guid, quint16 group = 0, quint16 tile = 0, quint16 text = 1)
{
    return {group, tile, 0, 10, text, guid};
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

// A generated game folder with downloads and archives; every case of the collection view.
class Collection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ObjdSpec twin = Guid(0x200, 0, 0, 2); // no such text
        CatalogFixture text;
        text.objd(128, "Sofa", Guid(0x100))
            // A French translation beside the US English text and its UK copy.
            .ctss(1, MakeCtssBody({{1, "Caf\xe9\xa0Sofa", ""},
                                   {1, "Soft.\r\nBlue", ""},
                                   {2, "Caf\xe9\xa0Sofa", ""},
                                   {2, "Soft.\r\nBlue", ""},
                                   {3, "Canap\xe9", ""},
                                   {3, "Doux", ""}}))
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
        // Game archives of both name widths, beside an entry that is no object file.
        for (const auto& [archive, entry, variant] :
             {std::tuple("gamedata/OBJECTS/wide.far", "x.iff", FarArchive::Variant::NameLength32),
              std::tuple("ExpansionPack3/narrow.far", "y.iff", FarArchive::Variant::NameLength16)})
            put(archive,
                FarArchive::Build({{"readme.txt", "not an object"}, {entry, Objects({0x600})}},
                                  variant));
        put("Deluxe/broken.far", QByteArray("FAR!byAZ\x01\0\0\0\xff\xff\0\0", 16) + "junk");
        // Empty archives: which files of which folders are the game's, in what order.
        for (const char* archive :
             {"gamedata/OBJECTS/a.FAR", "gamedata/OBJECTS/sub/deep.far", "ExpansionShared/s.far",
              "expansionpack/p.far", "ExpansionPack2/q.far", "Downloads/own.far", "top.far"})
            put(archive, FarArchive::Build({}));
    }
    void put(const QString& relative, const QByteArray& bytes) { MakeFile(at(relative), bytes); }
    QString at(const QString& relative) const { return root.path() + '/' + relative; }
    QList<ObjectFile> files() const { return GatherObjectFiles({{at("Downloads/"), true}}); }
    CollectionCatalog scan(ScanCache* cache = nullptr) const
    {
        return ScanCollection(files(), FindGameArchives(root.path()), cache);
    }
    // A listed file by its path below the root, and an object of it as "path#id".
    QString name(const CatalogFile& file) const { return file.displayPath().mid(at("").size()); }
    QString name(const CollectionCatalog& catalog, int file, quint16 id) const
    {
        return name(catalog.files[file]) + '#' + QString::number(id);
    }

    QTemporaryDir root;
};

} // namespace

TEST_F(Collection, ConflictsProblemsObjectsTheFilterAndARescan)
{
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    ScanCache cache;
    const CollectionCatalog catalog = scan(&cache);
    EXPECT_TRUE(prompt.asked().isEmpty()); // a scan never asks or tells anything

    // "GUID: path#id ..." with "*" after an identical copy, then "path | reason" of each problem.
    QStringList found;
    for (const CatalogConflict& c : catalog.conflicts) {
        found << GuidText(c.guid) + ':';
        for (const ConflictMember& m : c.members)
            found.last() += ' ' + name(catalog, m.file, m.id) + (m.identicalCopy ? "*" : "");
    }
    for (const int f : catalog.problems)
        found << name(catalog.files[f]) + " | " + catalog.files[f].reason;
    EXPECT_EQ(found,
              QStringList({"0x00000100: Downloads/a.iff#128 Downloads/b.iff#128",
                           "0x00000200: Downloads/a.iff#129 Downloads/a.iff#130",
                           "0x00000400: Downloads/b.iff#130 Downloads/c.iff#128",
                           // The game's files are the same bytes as this download.
                           "0x00000600: Downloads/e.iff#128* gamedata/OBJECTS/wide.far/x.iff#128* "
                           "ExpansionPack3/narrow.far/y.iff#128*",
                           "0x00000500: Downloads/f.iff#128 Downloads/copy1/d.iff#128* "
                           "Downloads/copy2/d.iff#128*",
                           "Downloads/damaged.iff | damaged: the chunk at byte 356 runs past "
                           "the end of the file",
                           "Downloads/empty.iff | not an object file: too short",
                           "Downloads/text.iff | not an object file: wrong signature",
                           "Deluxe/broken.far | damaged archive: the manifest lies outside the "
                           "archive"}));
    EXPECT_EQ(catalog.files[catalog.problems[0]].problem, FileProblem::Damaged);
    QStringList archives;
    for (const QString& path : FindGameArchives(root.path() + '/'))
        archives << QDir(root.path()).relativeFilePath(path);
    EXPECT_EQ(archives,
              QStringList({"gamedata/OBJECTS/a.FAR", "gamedata/OBJECTS/wide.far",
                           "ExpansionShared/s.far", "Deluxe/broken.far", "expansionpack/p.far",
                           "ExpansionPack2/q.far", "ExpansionPack3/narrow.far"}));
    EXPECT_TRUE(FindGameArchives(QString()).isEmpty());
    // The archives' objects are listed (see every row below) and cannot be opened.
    EXPECT_TRUE(catalog.files[0].canOpen());
    EXPECT_FALSE(catalog.files[catalog.rows.last().file].canOpen());

    CatalogFilter filter(catalog);
    const auto match = [&](const QString& text) {
        QStringList out;
        for (const int row : filter.match(text))
            out << name(catalog, catalog.rows[row].file, catalog.object(catalog.rows[row]).id);
        return out.join(' ').remove("Downloads/");
    };
    const std::pair<QString, QString> cases[] = {
        {"CAFÉ", "a.iff#128"},           // catalog name, decoded, any case
        {"café\u00a0sofa", "a.iff#128"}, // a non-breaking space parts words
        {"blue soft", "a.iff#128"},      // description, words in any order
        {"canapé doux", "a.iff#128"},    // another language's name and description
        {"twin b ", "a.iff#130"},        // resource name; a trailing blank changes nothing
        {"y.iff", "ExpansionPack3/narrow.far/y.iff#128"},            // file name in an archive
        {"0x00000500", "f.iff#128 copy1/d.iff#128 copy2/d.iff#128"}, // GUID
        // Blanks: every row; b's tile is not one, a damaged file's readable objects are.
        {"  ", "a.iff#128 a.iff#129 a.iff#130 b.iff#128 b.iff#129 c.iff#128 damaged.iff#128 "
               "damaged.iff#200 e.iff#128 f.iff#128 copy1/d.iff#128 copy2/d.iff#128 "
               "gamedata/OBJECTS/wide.far/x.iff#128 ExpansionPack3/narrow.far/y.iff#128"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(match(text), expected) << text.toStdString();
    // Narrowing by typing on gives what a fresh search gives.
    CatalogFilter fresh(catalog);
    filter.match("o");
    EXPECT_EQ(filter.match("obj7"), fresh.match("obj7"));
    // One row alone: the first and the last match, no row outside does.
    const int rows = int(catalog.rows.size());
    EXPECT_TRUE(filter.matches(0, "café blue") && filter.matches(rows - 1, "600"));
    EXPECT_FALSE(filter.matches(0, "y.iff") || filter.matches(rows, "") || filter.matches(-1, ""));

    // A rescan takes a file of the same size and time from the cache, though its bytes
    // changed; a new time has it read again.
    const QDateTime time = QFileInfo(at("Downloads/c.iff")).lastModified();
    put("Downloads/c.iff", Objects({0x999}));
    QFile c(at("Downloads/c.iff"));
    ASSERT_TRUE(c.open(QIODevice::ReadWrite));
    ASSERT_TRUE(c.setFileTime(time, QFileDevice::FileModificationTime));
    EXPECT_EQ(scan(&cache).files[2].objects.value(0).guid, 0x400u); // a, b, c
    ASSERT_TRUE(c.setFileTime(time.addSecs(5), QFileDevice::FileModificationTime));
    EXPECT_EQ(scan(&cache).files[2].objects.value(0).guid, 0x999u);
}

TEST_F(Collection, ScannerReportsProgressAndCancels)
{
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("test"), nullptr};
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
    EXPECT_EQ(progress.last().at(0), progress.last().at(1));      // done of total, the last one
    EXPECT_EQ(progress.last().at(1).toInt(), files().size() + 7); // and the archives

    // Destroyed while scanning: stops and waits, never reports.
    {
        CollectionScanner doomed;
        doomed.start(files(), root.path());
    }
    EXPECT_EQ(finished.size(), 2);
}

TEST(CatalogIcons, AFileIsReadOnceForAllItsIcons)
{
    // 128 and 129 have icons of their own, 130 none; 999 is no object of the file.
    const QRgb red = qRgb(200, 0, 0), green = qRgb(0, 200, 0), none = qRgb(0, 0, 9);
    const QByteArray bytes = CatalogFixture()
                                 .objd(128, "a", CatalogObject(1))
                                 .bmp(1, "a", MakeBmp(8, 4, red))
                                 .objd(129, "b", CatalogObject(2))
                                 .bmp(2, "b", MakeBmp(6, 6, green))
                                 .objd(130, "c", CatalogObject(3))
                                 .fileBytes();
    QImage placeholder(2, 2, QImage::Format_RGB32);
    placeholder.fill(none);
    for (const bool readable : {true, false}) {
        int reads = 0;
        const auto read = [&](const CatalogFile&, QByteArray* out) {
            *out = bytes;
            return ++reads, readable;
        };
        QList<QRgb> colours;
        for (const QImage& icon :
             LoadCatalogIcons(CatalogFile{}, {128, 129, 130, 999}, placeholder, read))
            colours << icon.pixel(icon.width() / 2, icon.height() / 2);
        EXPECT_EQ(reads, 1);
        EXPECT_EQ(colours, readable ? QList<QRgb>({red, green, none, none}) : QList<QRgb>(4, none));
    }
}
