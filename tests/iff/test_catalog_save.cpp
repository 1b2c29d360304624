// An edit made through the catalog setters survives a save and a fresh load, and touches
// nothing else of the file.

#include "CatalogFixture.h"
#include "clsIFF.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CatalogSave, EditsSurviveSaveAndReload)
{
    const QByteArray ctss =
        MakeCtssBody({{1, "Chair", ""}, {1, "Sit", ""}, {2, "Stuhl", ""}, {2, "Sitzen", ""}});
    CatalogFixture file;
    file.objd(128, "Chair", CatalogObject(300, 450))
        .objd(129, "Other", CatalogObject(301, 99))
        .ctss(300, ctss)
        .ctss(301, MakeCatalogCtss("Other", "Untouched"))
        .bmp(300, "Catalog")
        .chunk("STR#", 128, "strings", QByteArray("\xfd\xff\x00\x00", 4));
    clsIFF doc;
    ASSERT_TRUE(file.loadInto(doc));

    ASSERT_TRUE(doc.SetCtss(128, "Armchair \xe9l\xe9gant", "A longer description"));
    ASSERT_TRUE(doc.SetPrice(128, 70000));
    ASSERT_TRUE(doc.SetDisabled(128, true));
    const SortSet sorts = {1, 16, 8, 128, 2, 1, 4, 8, 3};
    ASSERT_TRUE(doc.SetSorts(128, sorts));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("saved.iff");
    ASSERT_TRUE(doc.SaveFile(path)) << doc.errorString().toStdString();

    clsIFF again;
    ASSERT_TRUE(again.LoadFile(path));
    EXPECT_EQ(again.GetName(128), "Armchair \xe9l\xe9gant");
    EXPECT_EQ(again.GetDescription(128), "A longer description");
    EXPECT_EQ(again.GetPrice(128), 4464);
    EXPECT_TRUE(again.GetDisabled(128));
    EXPECT_EQ(again.GetSorts(128), sorts);
    // The CTSS's later strings and pad bytes, and every other resource, as they were.
    const QByteArray laterStrings = ctss.mid(ctss.indexOf("\2Stuhl") - 1);
    ASSERT_EQ(laterStrings.size(), 22);
    EXPECT_TRUE(again.Resource("CTSS300").Body().endsWith(laterStrings));
    for (const QByteArray key : {"OBJD129", "CTSS301", "BMP_300", "STR#128"})
        EXPECT_EQ(again.Resource(key).Body(), doc.Resource(key).Body()) << key.constData();
    EXPECT_EQ(again.GetPrice(129), 99);
}
