// Which BMP_ is an object's catalog icon, and how its body becomes a picture.

#include "CatalogFixture.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

const QRgb kRed = qRgb(220, 10, 10);
const QRgb kGreen = qRgb(10, 200, 10);
const QRgb kBlue = qRgb(10, 10, 230);

QImage placeholder()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return image;
}

QByteArray icon(QRgb colour)
{
    return MakeBmp(74, 37, colour);
}

// The colour of the picture GetIcon gives for OBJD 128, or what else it gave.
enum class Got { Placeholder, Null, Picture };
struct IconResult {
    Got got;
    QRgb colour = 0;
};

IconResult iconOf(const CatalogFixture& file, quint16 objd = 128)
{
    clsIFF doc;
    EXPECT_TRUE(file.loadInto(doc));
    const QImage image = doc.GetIcon(objd, placeholder());
    if (image.isNull())
        return {Got::Null};
    if (image == placeholder())
        return {Got::Placeholder};
    EXPECT_EQ(image.size(), QSize(74, 37));
    return {Got::Picture, image.pixel(40, 20) | 0xFF000000u};
}

} // namespace

TEST(CatalogIcon, BmpUnderTheCatalogStringsIdWinsWhateverItsName)
{
    CatalogFixture file;
    file.bmp(12, "Catalog", icon(kRed))
        .objd(128, "o", CatalogObject(130))
        .bmp(130, "anything", icon(kGreen));
    const IconResult r = iconOf(file);
    ASSERT_EQ(r.got, Got::Picture);
    EXPECT_EQ(r.colour, kGreen);
}

TEST(CatalogIcon, OtherwiseTheFirstBmpNamedCatalogOrFaces)
{
    CatalogFixture file;
    file.objd(128, "o", CatalogObject(130))
        .bmp(10, "catalog", icon(kRed))  // letter case differs
        .bmp(11, "Catalog2", icon(kRed)) // more characters
        .bmp(12, "Face", icon(kRed))
        .bmp(13, "faces", icon(kBlue))
        .bmp(14, "Catalog", icon(kGreen));
    const IconResult r = iconOf(file);
    ASSERT_EQ(r.got, Got::Picture);
    EXPECT_EQ(r.colour, kBlue);
}

TEST(CatalogIcon, BmpWithIdZeroIsNeverTheIcon)
{
    // A "Catalog" BMP_ 0 does not end the walk.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(77))
            .bmp(0, "Catalog", icon(kRed))
            .bmp(5, "Catalog", icon(kGreen));
        const IconResult r = iconOf(file);
        ASSERT_EQ(r.got, Got::Picture);
        EXPECT_EQ(r.colour, kGreen);
    }
    // CatalogStringsID 0 with a BMP_ 0 present: no icon, even with another "Catalog" BMP_.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(0))
            .bmp(0, "Catalog", icon(kRed))
            .bmp(9, "Catalog", icon(kGreen));
        EXPECT_EQ(iconOf(file).got, Got::Placeholder);
    }
    // Only a "Catalog" BMP_ 0 and nothing under the ID.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(77)).bmp(0, "Catalog", icon(kRed));
        EXPECT_EQ(iconOf(file).got, Got::Placeholder);
    }
}

TEST(CatalogIcon, NoBmpGivesThePlaceholder)
{
    CatalogFixture file;
    file.objd(128, "o", CatalogObject(130)).ctss(130, MakeCatalogCtss("a", "b"));
    EXPECT_EQ(iconOf(file).got, Got::Placeholder);
}

TEST(CatalogIcon, IdsOfSignedRangeAndAboveCountAsZero)
{
    // 40000 is read as 0: BMP_ 0 ends the search with no icon...
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(40000))
            .bmp(40000, "x", icon(kRed))
            .bmp(0, "zero", icon(kRed))
            .bmp(12, "Catalog", icon(kGreen));
        EXPECT_EQ(iconOf(file).got, Got::Placeholder);
    }
    // ...otherwise the name walk decides, and BMP_ 40000 is not taken by its ID.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(40000))
            .bmp(40000, "x", icon(kRed))
            .bmp(12, "Catalog", icon(kGreen));
        const IconResult r = iconOf(file);
        ASSERT_EQ(r.got, Got::Picture);
        EXPECT_EQ(r.colour, kGreen);
    }
    // 32767 is still an ID.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(32767))
            .bmp(12, "Catalog", icon(kRed))
            .bmp(32767, "x", icon(kBlue));
        const IconResult r = iconOf(file);
        ASSERT_EQ(r.got, Got::Picture);
        EXPECT_EQ(r.colour, kBlue);
    }
}

TEST(CatalogIcon, ObjdNotHeldOrTooShortCountsAsZero)
{
    CatalogFixture file;
    ObjdSpec shortObjd = CatalogObject(130);
    shortObjd.bodySize = 82; // CatalogStringsID beyond the body
    file.objd(128, "o", shortObjd).bmp(130, "x", icon(kRed)).bmp(12, "faces", icon(kGreen));
    for (quint16 objd : {quint16(128), quint16(999)}) {
        const IconResult r = iconOf(file, objd);
        ASSERT_EQ(r.got, Got::Picture) << objd;
        EXPECT_EQ(r.colour, kGreen) << objd;
    }
}

TEST(CatalogIcon, UndecodableBodyGivesNoPictureNotThePlaceholder)
{
    for (const QByteArray& body :
         {QByteArray(), QByteArray("not a bitmap at all"), icon(kRed).left(30),
          QByteArray("BM") + QByteArray(60, '\xff')}) {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(130)).bmp(130, "Catalog", body);
        EXPECT_EQ(iconOf(file).got, Got::Null) << body.toHex().constData();
    }
}

TEST(CatalogIcon, LeavesNoTemporaryFileBehind)
{
    QTemporaryDir programFolder;
    QTemporaryDir workFolder;
    ASSERT_TRUE(programFolder.isValid() && workFolder.isValid());
    const QString oldProgramFolder = ProgramState.ProgramFolder;
    const QString oldCurrent = QDir::currentPath();
    ProgramState.ProgramFolder = programFolder.path() + "/";
    ASSERT_TRUE(QDir::setCurrent(workFolder.path()));

    // A file of the user's that happens to be called "temp" is neither overwritten nor
    // deleted.
    const QString usersTemp = programFolder.filePath("temp");
    {
        QFile f(usersTemp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }

    CatalogFixture file;
    file.objd(128, "o", CatalogObject(130)).bmp(130, "Catalog", icon(kRed));
    const IconResult good = iconOf(file);
    CatalogFixture bad;
    bad.objd(128, "o", CatalogObject(130)).bmp(130, "Catalog", "garbage");
    const IconResult broken = iconOf(bad);

    QDir::setCurrent(oldCurrent);
    ProgramState.ProgramFolder = oldProgramFolder;

    EXPECT_EQ(good.got, Got::Picture);
    EXPECT_EQ(broken.got, Got::Null);
    QFile f(usersTemp);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");
    EXPECT_EQ(QDir(programFolder.path()).entryList(QDir::Files), QStringList{"temp"});
    EXPECT_TRUE(QDir(workFolder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
