// Which BMP_ is an object's catalog icon, and how its body becomes a picture.

#include "CatalogFixture.h"
#include "IffBytes.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

const QRgb kRed = qRgb(220, 10, 10), kGreen = qRgb(10, 200, 10);

// What GetIcon gave for OBJD `objd`: "placeholder", "null", or the colour of the picture.
QString iconOf(const CatalogFixture& file, quint16 objd = 128)
{
    clsIFF doc;
    EXPECT_TRUE(file.loadInto(doc));
    QImage placeholder(8, 8, QImage::Format_RGB32);
    placeholder.fill(qRgb(1, 2, 3));
    const QImage image = doc.GetIcon(objd, placeholder);
    if (image.isNull() || image == placeholder)
        return image.isNull() ? "null" : "placeholder";
    EXPECT_EQ(image.size(), QSize(74, 37));
    const QRgb c = image.pixel(40, 20) | 0xFF000000u;
    return c == kRed ? "red" : c == kGreen ? "green" : "other";
}

CatalogFixture object(quint16 stringsId)
{
    return CatalogFixture().objd(128, "o", CatalogObject(stringsId));
}

} // namespace

TEST(CatalogIcon, BmpUnderTheCatalogStringsIdWinsElseTheFirstNamedCatalogOrFaces)
{
    const QByteArray red = MakeBmp(74, 37, kRed), green = MakeBmp(74, 37, kGreen);
    // An OBJD we do not hold, or one too short for CatalogStringsID, counts as ID 0.
    ObjdSpec stub = CatalogObject(130);
    stub.bodySize = 82;
    const CatalogFixture file =
        CatalogFixture().objd(128, "o", stub).bmp(130, "x", red).bmp(12, "faces", green);
    // A header claiming 60000 x 60000 pixels is refused, not allocated.
    QByteArray huge = MakeBmp(2, 2, kRed);
    huge.replace(18, 8, QByteArray::fromHex("60ea000060ea0000"));
    const std::tuple<CatalogFixture, quint16, QString> cases[] = {
        {object(32767).bmp(12, "Catalog", red).bmp(32767, "x", green), 128, "green"},
        {object(130)
             .bmp(10, "catalog", red)
             .bmp(11, "Catalog2", red)
             .bmp(12, "Face", red)
             .bmp(13, "faces", green)
             .bmp(14, "Catalog", red),
         128, "green"},
        {file, 128, "green"},
        {file, 999, "green"},
        // A "Catalog" BMP_ 0 does not end the walk...
        {object(77).bmp(0, "Catalog", red).bmp(5, "Catalog", green), 128, "green"},
        {object(77).bmp(0, "Catalog", red), 128, "placeholder"},
        // ...but CatalogStringsID 0 with a BMP_ 0 present means no icon at all.
        {object(0).bmp(0, "Catalog", red).bmp(9, "Catalog", green), 128, "placeholder"},
        {object(130).ctss(130, MakeCatalogCtss("a", "b")), 128, "placeholder"},
        // IDs from 32768 count as 0: no BMP_ under them, and a BMP_ 0 means no icon.
        {object(40000).bmp(40000, "x", red).bmp(12, "Catalog", green), 128, "green"},
        {object(40000).bmp(40000, "x", red).bmp(0, "zero", red).bmp(12, "Catalog", green), 128,
         "placeholder"},
        // An undecodable body gives no picture, not the placeholder.
        {object(130).bmp(130, "Catalog", QByteArray()), 128, "null"},
        {object(130).bmp(130, "Catalog", "not a bitmap"), 128, "null"},
        {object(130).bmp(130, "Catalog", red.left(30)), 128, "null"},
        {object(130).bmp(130, "Catalog", "BM" + QByteArray(60, '\xff')), 128, "null"},
        {object(130).bmp(130, "Catalog", huge), 128, "null"},
    };
    for (const auto& [fixture, objd, expected] : cases)
        EXPECT_EQ(iconOf(fixture, objd), expected) << fixture.fileBytes().toHex().left(400).data();
}

TEST(CatalogIcon, WritesNoTemporaryFile)
{
    QTemporaryDir programFolder, workFolder;
    const QString oldProgramFolder = ProgramState.ProgramFolder, oldCurrent = QDir::currentPath();
    ProgramState.ProgramFolder = programFolder.path() + "/";
    ASSERT_TRUE(QDir::setCurrent(workFolder.path()));
    // A file of the user's that happens to be called "temp" is neither overwritten nor deleted.
    WriteFile(programFolder.filePath("temp"), "keep me");
    const QString good = iconOf(object(130).bmp(130, "Catalog", MakeBmp(74, 37, kRed)));
    const QString bad = iconOf(object(130).bmp(130, "Catalog", "garbage"));
    QDir::setCurrent(oldCurrent);
    ProgramState.ProgramFolder = oldProgramFolder;
    EXPECT_EQ(good + bad, "rednull");
    EXPECT_EQ(ReadFile(programFolder.filePath("temp")), "keep me");
    EXPECT_EQ(QDir(programFolder.path()).entryList(QDir::Files), QStringList{"temp"});
    EXPECT_TRUE(QDir(workFolder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
