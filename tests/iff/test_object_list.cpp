// Which OBJDs a file lists: lead tiles, single tiles, and what is left out.

#include "CatalogFixture.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

ObjdSpec tile(quint16 group, quint16 tileIndex)
{
    ObjdSpec spec;
    spec.groupId = group;
    spec.tileIndex = tileIndex;
    return spec;
}

ObjdSpec lead(quint16 group)
{
    return tile(group, 0xFFFF);
}

QList<QByteArray> listedKeys(const CatalogFixture& file)
{
    clsIFF doc;
    EXPECT_TRUE(file.loadInto(doc));
    RecordingList list;
    doc.GenerateObjectList(list);
    return list.keys();
}

using Keys = QList<QByteArray>;

} // namespace

TEST(ObjectList, WithoutLeadsEveryObjdIsListedInLoadOrder)
{
    CatalogFixture file;
    file.objd(130, "Lamp", tile(3, 0))
        .bmp(200, "Catalog")
        .objd(128, "Sofa", tile(3, 1))
        .objd(129, "Table", tile(0, 0));
    clsIFF doc;
    ASSERT_TRUE(file.loadInto(doc));
    RecordingList list;
    doc.GenerateObjectList(list);

    ASSERT_EQ(list.rows.size(), 3);
    EXPECT_EQ(list.keys(), (Keys{"OBJD130", "OBJD128", "OBJD129"}));
    EXPECT_EQ(list.rows[0].text, "Lamp");
    EXPECT_EQ(list.rows[1].text, "Sofa");
    EXPECT_EQ(list.rows[0].subItems, (Keys{"130"}));
    EXPECT_EQ(list.rows[2].subItems, (Keys{"129"}));
}

TEST(ObjectList, LeadHidesTheOtherTilesOfItsGroup)
{
    CatalogFixture file;
    // A tile may come before its lead in the file; it is hidden all the same.
    file.objd(129, "Bed tile 1", tile(5, 1))
        .objd(128, "Bed", lead(5))
        .objd(130, "Bed tile 2", tile(5, 2))
        .objd(131, "Chair", tile(9, 0));
    EXPECT_EQ(listedKeys(file), (Keys{"OBJD128", "OBJD131"}));
}

TEST(ObjectList, TwoLeadsOfOneGroupAreBothListed)
{
    CatalogFixture file;
    file.objd(128, "Left", lead(7)).objd(129, "Right", lead(7)).objd(130, "Tile", tile(7, 0));
    EXPECT_EQ(listedKeys(file), (Keys{"OBJD128", "OBJD129"}));
}

TEST(ObjectList, GroupNumbersAboveSignedRangeCompareAsUnsigned)
{
    CatalogFixture file;
    file.objd(128, "Lead", lead(40000))
        .objd(129, "Tile", tile(40000, 1))
        .objd(130, "Other", tile(65535, 0))
        .objd(131, "Low", tile(40000 - 32768, 0));
    EXPECT_EQ(listedKeys(file), (Keys{"OBJD128", "OBJD130", "OBJD131"}));
}

TEST(ObjectList, FileWithoutObjdsClearsTheList)
{
    CatalogFixture file;
    file.bmp(200, "Catalog").ctss(300, MakeCatalogCtss("a", "b"));
    clsIFF doc;
    ASSERT_TRUE(file.loadInto(doc));
    RecordingList list;
    list.AddRow("OBJD1", "left over from the last file", {"1"});
    doc.GenerateObjectList(list);
    EXPECT_TRUE(list.rows.isEmpty());
    EXPECT_GE(list.clears, 1);
}

TEST(ObjectList, ListingReplacesEarlierRows)
{
    CatalogFixture file;
    file.objd(128, "Only");
    clsIFF doc;
    ASSERT_TRUE(file.loadInto(doc));
    RecordingList list;
    list.AddRow("OBJD1", "stale", {"1"});
    doc.GenerateObjectList(list);
    EXPECT_EQ(list.keys(), (Keys{"OBJD128"}));
}

TEST(ObjectList, DuplicateObjdIdGivesOneRow)
{
    CatalogFixture file;
    file.objd(128, "First").objd(129, "Other").objd(128, "Second copy");
    clsIFF doc;
    ASSERT_TRUE(file.loadInto(doc));
    ASSERT_EQ(doc.ObjdCount(), 3);
    RecordingList list;
    doc.GenerateObjectList(list);
    EXPECT_EQ(list.keys(), (Keys{"OBJD128", "OBJD129"}));
    EXPECT_EQ(list.rows[0].text, "First");
}

TEST(ObjectList, ShortBodiesReadOnlyTheBytesPresent)
{
    CatalogFixture file;
    ObjdSpec halfTile = lead(5);
    halfTile.bodySize = ObjdField::TileIndex + 1; // TileIndex reads 0x00FF: not a lead
    ObjdSpec noTile = lead(5);
    noTile.bodySize = ObjdField::TileIndex; // TileIndex absent: reads 0
    file.objd(128, "Half", halfTile).objd(129, "Stub", noTile).objd(130, "Empty", tile(0, 0));
    EXPECT_EQ(listedKeys(file), (Keys{"OBJD128", "OBJD129", "OBJD130"}));

    CatalogFixture empty;
    ObjdSpec nothing;
    nothing.bodySize = 0;
    empty.objd(128, "Nothing", nothing);
    EXPECT_EQ(listedKeys(empty), (Keys{"OBJD128"}));
}

TEST(ObjectList, ObjdDeletedAfterLoadingIsPassedOver)
{
    CatalogFixture file;
    file.objd(128, "Lead", lead(5)).objd(129, "Tile", tile(5, 1)).objd(130, "Chair", tile(9, 0));
    clsIFF doc;
    ASSERT_TRUE(file.loadInto(doc));
    doc.DelResource("OBJD128");
    RecordingList list;
    ASSERT_NO_THROW(doc.GenerateObjectList(list));
    // With its lead gone, the tile of group 5 stands alone again.
    EXPECT_EQ(list.keys(), (Keys{"OBJD129", "OBJD130"}));
}
