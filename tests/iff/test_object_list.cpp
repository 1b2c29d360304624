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
    list.AddRow("OBJD1", "left from the last file", {"1"}); // must be cleared
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
    EXPECT_EQ(list.rows, (Keys{"OBJD130|Lamp|130", "OBJD128|Sofa|128", "OBJD129|Table|129"}));
}

TEST(ObjectList, LeadTilesHideTheRestOfTheirGroup)
{
    EXPECT_EQ(listOf(CatalogFixture()
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
              (Keys{"OBJD128", "OBJD131", "OBJD132", "OBJD133", "OBJD135", "OBJD137", "OBJD138",
                    "OBJD139", "OBJD140", "OBJD141", "OBJD142"}));
}

TEST(ObjectList, NoObjdsLeavesTheListEmpty)
{
    const RecordingList list =
        listOf(CatalogFixture().bmp(200, "Catalog").ctss(300, MakeCatalogCtss("a", "b")));
    EXPECT_TRUE(list.rows.isEmpty());
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
