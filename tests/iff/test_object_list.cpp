// Which OBJDs a file lists: lead tiles, single tiles, and what is left out.

#include "CatalogFixture.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

using Keys = QList<QByteArray>;

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

// The list of the file, with the keys deleted after loading gone from the document.
RecordingList listOf(const CatalogFixture& file, const Keys& deleted = {})
{
    clsIFF doc;
    EXPECT_TRUE(file.loadInto(doc));
    for (const QByteArray& key : deleted)
        doc.DelResource(key);
    RecordingList list;
    list.AddRow("OBJD1", "left from the last file", {"1"});
    doc.GenerateObjectList(list);
    return list;
}

} // namespace

TEST(ObjectList, RowsCarryKeyNameAndIdInLoadOrderOncePerId)
{
    const RecordingList list = listOf(CatalogFixture()
                                          .objd(130, "Lamp", tile(3, 0))
                                          .bmp(200, "Catalog")
                                          .objd(128, "Sofa", tile(3, 1))
                                          .objd(129, "Table", tile(0, 0))
                                          .objd(128, "Second copy", tile(0, 0)));
    EXPECT_EQ(list.keys(), (Keys{"OBJD130", "OBJD128", "OBJD129"}));
    ASSERT_EQ(list.rows.size(), 3);
    EXPECT_EQ(list.rows[1].text, "Sofa");
    EXPECT_EQ(list.rows[1].subItems, (Keys{"128"}));
}

TEST(ObjectList, LeadTilesHideTheRestOfTheirGroup)
{
    // A tile before its lead in the file is hidden all the same.
    EXPECT_EQ(listOf(CatalogFixture()
                         .objd(129, "tile 1", tile(5, 1))
                         .objd(128, "Bed", lead(5))
                         .objd(130, "tile 2", tile(5, 2))
                         .objd(131, "Chair", tile(9, 0)))
                  .keys(),
              (Keys{"OBJD128", "OBJD131"}));
    // Two leads of one group are both listed.
    EXPECT_EQ(listOf(CatalogFixture()
                         .objd(128, "L", lead(7))
                         .objd(129, "R", lead(7))
                         .objd(130, "tile", tile(7, 0)))
                  .keys(),
              (Keys{"OBJD128", "OBJD129"}));
    // Group numbers are unsigned: 40000 hides 40000, and only 40000.
    EXPECT_EQ(listOf(CatalogFixture()
                         .objd(128, "L", lead(40000))
                         .objd(129, "tile", tile(40000, 1))
                         .objd(130, "max", tile(65535, 0))
                         .objd(131, "low", tile(40000 - 32768, 0)))
                  .keys(),
              (Keys{"OBJD128", "OBJD130", "OBJD131"}));
}

TEST(ObjectList, ShortBodiesReadOnlyTheBytesPresent)
{
    // TileIndex cut to its low byte reads 0x00FF, wholly missing reads 0: neither is a lead,
    // so the group-5 tile stays listed.
    EXPECT_EQ(listOf(CatalogFixture()
                         .objd(128, "half", lead(5, ObjdField::TileIndex + 1))
                         .objd(129, "stub", lead(5, ObjdField::TileIndex))
                         .objd(130, "empty", lead(5, 0))
                         .objd(131, "tile", tile(5, 1)))
                  .keys(),
              (Keys{"OBJD128", "OBJD129", "OBJD130", "OBJD131"}));
}

TEST(ObjectList, NoObjdsLeavesTheListEmpty)
{
    const RecordingList list =
        listOf(CatalogFixture().bmp(200, "Catalog").ctss(300, MakeCatalogCtss("a", "b")));
    EXPECT_TRUE(list.rows.isEmpty());
    EXPECT_GE(list.clears, 1);
}

TEST(ObjectList, ObjdDeletedAfterLoadingIsPassedOver)
{
    // With its lead gone, the group-5 tile stands alone again.
    EXPECT_EQ(listOf(CatalogFixture()
                         .objd(128, "Lead", lead(5))
                         .objd(129, "Tile", tile(5, 1))
                         .objd(130, "Chair", tile(9, 0)),
                     {"OBJD128"})
                  .keys(),
              (Keys{"OBJD129", "OBJD130"}));
}
