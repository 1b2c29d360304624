// Catalog name and description: finding the CTSS, cutting it into pieces, rewriting it.

#include "CatalogFixture.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

const QByteArray kNone = "*NONE*";

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// Format code FFFD, count, then the strings as given.
QByteArray ctssHeader(int count)
{
    return bytes({0xFD, 0xFF, count, 0});
}

// Every body of the document, by key, to show that nothing else changed.
QList<QByteArray> allBodies(const clsIFF& doc)
{
    QList<QByteArray> out;
    for (int i = 1; i <= doc.ResourceCount(); ++i)
        out.append(doc.Resource(i).Key() + ":" + doc.Resource(i).Body().toHex());
    return out;
}

struct Loaded {
    clsIFF doc;
    explicit Loaded(const CatalogFixture& file) { EXPECT_TRUE(file.loadInto(doc)); }
};

} // namespace

TEST(CatalogText, GenuineBodyGivesNameAndDescription)
{
    CatalogFixture file;
    file.objd(128, "Chair", CatalogObject(300)).ctss(300, MakeCatalogCtss("Chair", "Sit on it"));
    Loaded f(file);
    EXPECT_EQ(f.doc.GetName(128), "Chair");
    EXPECT_EQ(f.doc.GetDescription(128), "Sit on it");
}

TEST(CatalogText, OnlyStringsZeroAndOneMatterWhateverTheirLanguage)
{
    const QByteArray body = MakeCtssBody({{6, "Nom", "c0"}, {9, "Desc\xe9", "c1"}, {1, "X", ""}});
    CatalogFixture file;
    file.objd(128, "o", CatalogObject(300)).ctss(300, body);
    Loaded f(file);
    EXPECT_EQ(f.doc.GetName(128), "Nom");
    EXPECT_EQ(f.doc.GetDescription(128), "Desc\xe9");
}

TEST(CatalogText, NoneWhenTheTextCannotBeFound)
{
    // No CTSS at all, though the OBJD points at one.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(300));
        Loaded f(file);
        EXPECT_EQ(f.doc.GetName(128), kNone);
        EXPECT_EQ(f.doc.GetDescription(128), kNone);
    }
    // CTSS resources, but none under the OBJD's CatalogStringsID.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(301)).ctss(300, MakeCatalogCtss("a", "b"));
        Loaded f(file);
        EXPECT_EQ(f.doc.GetName(128), kNone);
        EXPECT_EQ(f.doc.GetDescription(128), kNone);
        // No such OBJD either.
        EXPECT_EQ(f.doc.GetName(999), kNone);
        EXPECT_EQ(f.doc.GetDescription(999), kNone);
    }
}

TEST(CatalogText, BodiesOfFiveBytesOrFewerHaveNoText)
{
    for (const QByteArray& body :
         {QByteArray(), bytes({0xFD}), ctssHeader(1), ctssHeader(1) + bytes({1})}) {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(300)).ctss(300, body);
        Loaded f(file);
        EXPECT_EQ(f.doc.GetName(128), kNone) << body.toHex().constData();
        EXPECT_EQ(f.doc.GetDescription(128), kNone) << body.toHex().constData();
    }
}

TEST(CatalogText, PieceCountDecidesWhatCanBeRead)
{
    // One byte after the header: a name, but only one piece.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(300)).ctss(300, ctssHeader(1) + bytes({1, 'X'}));
        Loaded f(file);
        EXPECT_EQ(f.doc.GetName(128), "X");
        EXPECT_EQ(f.doc.GetDescription(128), kNone);
    }
    // String 0 only: its final 0 byte yields an empty piece 2, so an empty description.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(300))
            .ctss(300, ctssHeader(1) + bytes({1}) + "Name" + bytes({0}) + "note" + bytes({0}));
        Loaded f(file);
        EXPECT_EQ(f.doc.GetName(128), "Name");
        EXPECT_EQ(f.doc.GetDescription(128), "");
    }
    // Empty texts are texts, not missing ones.
    {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(300)).ctss(300, MakeCatalogCtss("", ""));
        Loaded f(file);
        EXPECT_EQ(f.doc.GetName(128), "");
        EXPECT_EQ(f.doc.GetDescription(128), "");
    }
}

TEST(CatalogText, ShortObjdReadsCatalogStringsIdFromTheBytesPresent)
{
    // CatalogStringsID wholly beyond the body reads 0; half present reads its low byte.
    ObjdSpec none = CatalogObject(0x012A);
    none.bodySize = ObjdField::CatalogStringsID;
    ObjdSpec half = CatalogObject(0x012A);
    half.bodySize = ObjdField::CatalogStringsID + 1;
    CatalogFixture file;
    file.objd(128, "none", none)
        .objd(129, "half", half)
        .ctss(0, MakeCatalogCtss("zero", "z"))
        .ctss(0x2A, MakeCatalogCtss("forty-two", "f"));
    Loaded f(file);
    EXPECT_EQ(f.doc.GetName(128), "zero");
    EXPECT_EQ(f.doc.GetName(129), "forty-two");
}

TEST(SetCtss, CurrentTextsLeaveEveryByteAsItWas)
{
    const QList<QByteArray> bodies = {
        MakeCatalogCtss("Chair", "Sit on it"),
        MakeCtssBody({{1, "N", "comment 0"}, {1, "D", "comment 1"}, {2, "Stuhl", "x"}}),
        // One pad byte more than strings, as some files carry.
        MakeCatalogCtss("Sofa", "Soft") + bytes({0xA3}),
        // Ends right after the description's 0 byte: an empty last piece.
        ctssHeader(2) + bytes({1}) + "N" + bytes({0, 0, 1}) + "D" + bytes({0}),
        // String 0 only.
        ctssHeader(1) + bytes({1}) + "N" + bytes({0}) + "c" + bytes({0}),
        MakeCatalogCtss("", ""),
    };
    for (const QByteArray& body : bodies) {
        CatalogFixture file;
        file.objd(128, "o", CatalogObject(300)).ctss(300, body);
        Loaded f(file);
        const QList<QByteArray> before = allBodies(f.doc);
        EXPECT_TRUE(f.doc.SetCtss(128, f.doc.GetName(128), f.doc.GetDescription(128)));
        EXPECT_EQ(allBodies(f.doc), before) << body.toHex().constData();
        EXPECT_EQ(f.doc.Resource("CTSS300").Length, 76 + body.size());
    }
}

TEST(SetCtss, NewTextsReplaceOnlyStringsZeroAndOne)
{
    const QByteArray body =
        MakeCtssBody({{1, "Old", "c0"}, {7, "Old text", "c1"}, {2, "Alt", "c2"}});
    CatalogFixture file;
    file.objd(128, "o", CatalogObject(300)).ctss(300, body);
    Loaded f(file);
    ASSERT_TRUE(f.doc.SetCtss(128, "Chaise \xe0 bras", "Longer description"));

    const QByteArray expected = ctssHeader(3) + bytes({1}) + "Chaise \xe0 bras" + bytes({0}) +
                                "c0" + bytes({0, 7}) + "Longer description" + bytes({0}) + "c1" +
                                bytes({0, 2}) + "Alt" + bytes({0}) + "c2" +
                                bytes({0, 0xA3, 0xA3, 0xA3});
    const clsResource& ctss = f.doc.Resource("CTSS300");
    EXPECT_EQ(ctss.Body(), expected);
    EXPECT_EQ(ctss.Length, 76 + expected.size());
    EXPECT_EQ(f.doc.GetName(128), "Chaise \xe0 bras");
    EXPECT_EQ(f.doc.GetDescription(128), "Longer description");

    // Back to the old texts gives back the old body.
    ASSERT_TRUE(f.doc.SetCtss(128, "Old", "Old text"));
    EXPECT_EQ(ctss.Body(), body);
}

TEST(SetCtss, EmptyTextsKeepTheLanguageByteAndTheRest)
{
    CatalogFixture file;
    file.objd(128, "o", CatalogObject(300)).ctss(300, MakeCatalogCtss("Name", "Desc"));
    Loaded f(file);
    ASSERT_TRUE(f.doc.SetCtss(128, "", ""));
    EXPECT_EQ(f.doc.Resource("CTSS300").Body(),
              ctssHeader(2) + bytes({1, 0, 0, 1, 0, 0, 0xA3, 0xA3}));
    EXPECT_EQ(f.doc.GetName(128), "");
    EXPECT_EQ(f.doc.GetDescription(128), "");
}

TEST(SetCtss, ObjectWithoutCatalogTextChangesNothing)
{
    const QList<CatalogFixture> files = {
        CatalogFixture().objd(128, "no ctss", CatalogObject(300)),
        CatalogFixture()
            .objd(128, "elsewhere", CatalogObject(301))
            .ctss(300, MakeCatalogCtss("a", "b")),
        CatalogFixture()
            .objd(128, "tiny", CatalogObject(300))
            .ctss(300, ctssHeader(1) + bytes({1})),
        CatalogFixture()
            .objd(128, "two pieces", CatalogObject(300))
            .ctss(300, ctssHeader(1) + bytes({1}) + "N" + bytes({0}) + "c"),
    };
    for (const CatalogFixture& file : files) {
        Loaded f(file);
        const QList<QByteArray> before = allBodies(f.doc);
        EXPECT_TRUE(f.doc.SetCtss(128, "New", "Text"));
        EXPECT_EQ(allBodies(f.doc), before);
    }
}

TEST(SetCtss, ObjdNotHeldIsRefused)
{
    CatalogFixture file;
    file.objd(128, "o", CatalogObject(300)).ctss(300, MakeCatalogCtss("a", "b"));
    Loaded f(file);
    const QList<QByteArray> before = allBodies(f.doc);
    EXPECT_FALSE(f.doc.SetCtss(129, "New", "Text"));
    EXPECT_EQ(allBodies(f.doc), before);
}

TEST(SetCtss, TwoObjectsSharingOneCtssSeeTheSameText)
{
    CatalogFixture file;
    file.objd(128, "a", CatalogObject(300))
        .objd(129, "b", CatalogObject(300))
        .ctss(300, MakeCatalogCtss("Shared", "Both"));
    Loaded f(file);
    ASSERT_TRUE(f.doc.SetCtss(128, "Renamed", "Both"));
    EXPECT_EQ(f.doc.GetName(129), "Renamed");
}
