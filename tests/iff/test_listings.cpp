// The lists a document fills: types, resources, objects; and the sort vocabulary's keys.

#include "CatalogFixture.h"
#include "IffBytes.h"
#include "ObjdLayout.h"
#include "ScriptedPrompt.h"
#include "SortVocabulary.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

using Rows = QList<QByteArray>;

ObjdSpec tile(quint16 group, quint16 tileIndex, int bodySize = 216)
{
    ObjdSpec spec;
    spec.groupId = group;
    spec.tileIndex = tileIndex;
    spec.bodySize = bodySize;
    return spec;
}

ObjdSpec lead(quint16 group, int bodySize = 216)
{
    return tile(group, 0xFFFF, bodySize);
}

// The object list of the file, with the keys deleted after loading gone from the document.
RecordingList objectsOf(const CatalogFixture& file, const Rows& deleted = {})
{
    clsIFF doc;
    EXPECT_TRUE(file.loadInto(doc));
    for (const QByteArray& key : deleted)
        doc.DelResource(key);
    RecordingList list;
    list.AddRow("OBJD1", "left from the last file", {"1"}); // must be cleared
    doc.GenerateObjectList(list);
    return list;
}

QList<int> values(const QList<SortRow>& rows, bool keys = false)
{
    QList<int> out;
    for (const SortRow& r : rows)
        out.append(keys ? r.keyNumber : r.value);
    return out;
}

} // namespace

TEST(Listings, TypesResourcesAndAllResourcesWithUniqueRowKeys)
{
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
    RecordingList sink;
    const auto list = [&](const std::function<void()>& fill) {
        sink.AddRow("stale", "row", {}); // every listing starts by clearing
        fill();
        return sink.rows;
    };
    EXPECT_EQ(list([&] { doc.GenerateFormatList(sink); }), Rows({"ALL|>> All resources"}));
    EXPECT_TRUE(list([&] { doc.GenerateAllResourceList(sink); }).isEmpty());
    ASSERT_TRUE(doc.LoadData(IffHeader() + Chunk("OBJD", 128, "12345", "Chair") +
                             Chunk("OBJD", 0x8001, "", "") + Chunk("STR#", 5, "s", "Text") +
                             Chunk("OBJD", 128, "x", "Again") + Chunk("BMP_", 7, "") +
                             EmptyMapChunk()));
    // Types in first appearance order.
    EXPECT_EQ(list([&] { doc.GenerateFormatList(sink); }),
              Rows({"ALL|>> All resources", "OBJD|OBJD (3)", "STR#|STR# (1)", "BMP_|BMP_ (1)"}));
    EXPECT_EQ(list([&] { doc.GenerateResourceList(sink, "OBJD"); }),
              Rows({"OBJD128|#128: \"Chair\" (size: 5)|OBJD00128",
                    "OBJD32769|#32769: \"\" (size: 0)|OBJD32769",
                    "OBJD128#2|#128: \"Again\" (size: 1)|OBJD00128"}));
    EXPECT_EQ(sink.refreshes, 1);
    EXPECT_EQ(list([&] { doc.GenerateResourceList(sink, "rsmp"); }),
              Rows({"rsmp0|#0: \"\" (size: 20)|rsmp00000"}));
    EXPECT_TRUE(list([&] { doc.GenerateResourceList(sink, "objd"); }).isEmpty()); // with case
    // All resources leave out the map.
    EXPECT_EQ(
        list([&] { doc.GenerateAllResourceList(sink); }),
        Rows({"OBJD128|OBJD|128|Chair (size: 5)|OBJD00128",
              "OBJD32769|OBJD|32769| (size: 0)|OBJD32769", "STR#5|STR#|5|Text (size: 1)|STR#00005",
              "OBJD128#2|OBJD|128|Again (size: 1)|OBJD00128",
              "BMP_7|BMP_|7| (size: 0)|BMP_00007"}));
}

TEST(ObjectList, RowsCarryKeyNameAndIdInLoadOrderOncePerId)
{
    EXPECT_EQ(objectsOf(CatalogFixture()
                            .objd(130, "Lamp", tile(3, 0))
                            .bmp(200, "Catalog")
                            .objd(128, "Sofa", tile(3, 1))
                            .objd(129, "Table", tile(0, 0))
                            .objd(128, "Second copy", tile(0, 0)))
                  .rows,
              (Rows{"OBJD130|Lamp|130", "OBJD128|Sofa|128", "OBJD129|Table|129"}));
    EXPECT_TRUE(objectsOf(CatalogFixture().bmp(200, "Catalog").ctss(300, MakeCatalogCtss("a", "b")))
                    .rows.isEmpty());
}

TEST(ObjectList, LeadTilesHideTheRestOfTheirGroup)
{
    EXPECT_EQ(objectsOf(CatalogFixture()
                            .objd(129, "tile 1", tile(5, 1)) // before its lead: hidden all the same
                            .objd(128, "Bed", lead(5))
                            .objd(130, "tile 2", tile(5, 2))
                            .objd(131, "Chair", tile(9, 0))
                            .objd(132, "L", lead(7)) // two leads of one group: both listed
                            .objd(133, "R", lead(7))
                            .objd(134, "tile", tile(7, 0))
                            .objd(135, "L", lead(40000)) // groups are unsigned
                            .objd(136, "tile", tile(40000, 1))
                            .objd(137, "max", tile(65535, 0))
                            .objd(138, "low", tile(40000 - 32768, 0))
                            // TileIndex cut to its low byte reads 0x00FF, wholly missing reads 0:
                            // neither is a lead, so their group's tile stays listed.
                            .objd(139, "half", lead(11, ObjdField::TileIndex + 1))
                            .objd(140, "stub", lead(11, ObjdField::TileIndex))
                            .objd(141, "empty", lead(11, 0))
                            .objd(142, "tile", tile(11, 1)))
                  .keys(),
              (Rows{"OBJD128", "OBJD131", "OBJD132", "OBJD133", "OBJD135", "OBJD137", "OBJD138",
                    "OBJD139", "OBJD140", "OBJD141", "OBJD142"}));
    // An OBJD deleted after loading is passed over: with its lead gone, the tile stands alone.
    EXPECT_EQ(objectsOf(CatalogFixture()
                            .objd(128, "Lead", lead(5))
                            .objd(129, "Tile", tile(5, 1))
                            .objd(130, "Chair", tile(9, 0)),
                        {"OBJD128"})
                  .keys(),
              (Rows{"OBJD129", "OBJD130"}));
}

TEST(SortVocabulary, FlagListsAreKeyedByValueBuildModeCountsFromOne)
{
    const QList<int> flags = {1, 2, 4, 8, 16, 32, 64, 128}, five = {1, 2, 4, 8, 128};
    EXPECT_EQ(values(SortRows(0)), flags);
    for (int slot : {0, 2, 3, 7})
        EXPECT_EQ(values(SortRows(slot), true), values(SortRows(slot))) << slot;
    for (int slot = 3; slot <= 7; ++slot)
        EXPECT_EQ(values(SortRows(slot)), five) << slot;
    EXPECT_EQ(values(SortRows(8)), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(values(SortRows(8), true), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(SortCaption(8), "Build Mode:");
    EXPECT_EQ(values(SubFunctionRows(0)), (QList<int>{1, 2, 4, 8, 16}));
    EXPECT_EQ(values(SubFunctionRows(6)), (QList<int>{1, 2, 4, 8, 16, 32, 64}));
    EXPECT_TRUE(SortRows(1).isEmpty()); // the sub-function rows follow the function row
    for (int outside : {-1, 8})
        EXPECT_TRUE(SubFunctionRows(outside).isEmpty());
    EXPECT_TRUE(SortRows(9).isEmpty());
    EXPECT_TRUE(SortCaption(9).isEmpty());
}
