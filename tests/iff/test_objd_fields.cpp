// Price and Disabled: exact bytes written, short bodies, objects the document does not hold.

#include "CatalogFixture.h"
#include "IffError.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

// A 216-byte body whose every byte differs from its neighbours, so a write that strays is seen.
QByteArray patternedBody(int size = 216)
{
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i)
        body[i] = char((i * 7 + 3) & 0xFF);
    return body;
}

// The bytes of `after` that differ from `before`, as offsets.
QList<int> changedOffsets(const QByteArray& before, const QByteArray& after)
{
    QList<int> out;
    for (int i = 0; i < qMin(before.size(), after.size()); ++i)
        if (before[i] != after[i])
            out.append(i);
    return out;
}

struct Doc {
    clsIFF doc;
    explicit Doc(const QByteArray& objdBody)
    {
        CatalogFixture file;
        file.chunk("OBJD", 128, "Object", objdBody).chunk("BMP_", 200, "Catalog", MakeBmp(2, 2, 0));
        EXPECT_TRUE(file.loadInto(doc));
    }
    const QByteArray& body() { return doc.Resource("OBJD128").Body(); }
};

} // namespace

TEST(Price, WritesTheLowSixteenBitsLowByteFirst)
{
    Doc d(patternedBody());
    const QByteArray before = d.body();

    ASSERT_TRUE(d.doc.SetPrice(128, 70000));
    EXPECT_EQ(d.doc.GetPrice(128), 4464);
    EXPECT_EQ(d.body().mid(36, 2), QByteArray::fromHex("7011"));
    EXPECT_EQ(d.body().size(), 216);
    EXPECT_EQ(d.doc.Resource("OBJD128").Length, 76 + 216);
    for (int offset : changedOffsets(before, d.body()))
        EXPECT_TRUE(offset == 36 || offset == 37) << offset;

    ASSERT_TRUE(d.doc.SetPrice(128, -1));
    EXPECT_EQ(d.doc.GetPrice(128), 65535);
    EXPECT_EQ(d.body().mid(36, 2), QByteArray::fromHex("ffff"));

    ASSERT_TRUE(d.doc.SetPrice(128, 0));
    EXPECT_EQ(d.doc.GetPrice(128), 0);
}

TEST(Price, ReadsTheFieldAsUnsigned)
{
    QByteArray body = patternedBody();
    body[36] = char(0x34);
    body[37] = char(0x92); // 0x9234 would be negative if read as signed
    Doc d(body);
    EXPECT_EQ(d.doc.GetPrice(128), 0x9234);
}

TEST(Disabled, TrueOnlyForExactlyOne)
{
    const QList<QPair<QByteArray, bool>> cases = {
        {QByteArray::fromHex("0100"), true},  {QByteArray::fromHex("0000"), false},
        {QByteArray::fromHex("0200"), false}, {QByteArray::fromHex("0001"), false},
        {QByteArray::fromHex("0101"), false}, {QByteArray::fromHex("ffff"), false},
    };
    for (const auto& [field, expected] : cases) {
        QByteArray body = patternedBody();
        body.replace(32, 2, field);
        Doc d(body);
        EXPECT_EQ(d.doc.GetDisabled(128), expected) << field.toHex().constData();
    }
}

TEST(Disabled, WritesOneOrZeroAndNothingElse)
{
    QByteArray start = patternedBody();
    start.replace(32, 2, QByteArray::fromHex("0001")); // 256: not disabled
    Doc d(start);
    ASSERT_FALSE(d.doc.GetDisabled(128));

    ASSERT_TRUE(d.doc.SetDisabled(128, false));
    EXPECT_EQ(d.body().mid(32, 2), QByteArray::fromHex("0000"));
    ASSERT_TRUE(d.doc.SetDisabled(128, true));
    EXPECT_EQ(d.body().mid(32, 2), QByteArray::fromHex("0100"));
    EXPECT_TRUE(d.doc.GetDisabled(128));
    for (int offset : changedOffsets(start, d.body()))
        EXPECT_TRUE(offset == 32 || offset == 33) << offset;
}

TEST(ShortObjd, FieldsReadTheBytesPresent)
{
    QByteArray halfPrice = patternedBody(37); // only the low byte of Price
    halfPrice[36] = char(0xC8);
    Doc half(halfPrice);
    EXPECT_EQ(half.doc.GetPrice(128), 200);

    Doc none(patternedBody(36));
    EXPECT_EQ(none.doc.GetPrice(128), 0);

    QByteArray halfDisabled = patternedBody(33);
    halfDisabled[32] = char(1);
    Doc disabled(halfDisabled);
    EXPECT_TRUE(disabled.doc.GetDisabled(128));

    Doc empty{QByteArray()};
    EXPECT_EQ(empty.doc.GetPrice(128), 0);
    EXPECT_FALSE(empty.doc.GetDisabled(128));
}

TEST(ShortObjd, SettersRefuseAndNeitherGrowNorChangeTheBody)
{
    for (int size : {0, 32, 33, 36, 37}) {
        const QByteArray start = patternedBody(size);
        Doc d(start);
        if (size < 34)
            EXPECT_FALSE(d.doc.SetDisabled(128, true)) << size;
        else
            EXPECT_TRUE(d.doc.SetDisabled(128, true)) << size;
        const QByteArray afterDisabled = d.body();
        EXPECT_FALSE(d.doc.SetPrice(128, 1234)) << size;
        EXPECT_EQ(d.body(), afterDisabled) << size;
        EXPECT_EQ(d.body().size(), size);
        EXPECT_EQ(d.doc.Resource("OBJD128").Length, 76 + size);
    }
    // Exactly long enough for Price.
    Doc exact(patternedBody(38));
    EXPECT_TRUE(exact.doc.SetPrice(128, 513));
    EXPECT_EQ(exact.body().right(2), QByteArray::fromHex("0102"));
}

TEST(MissingObjd, GettersThrowAndSettersRefuse)
{
    Doc d(patternedBody());
    EXPECT_THROW(d.doc.GetPrice(129), IffError);
    EXPECT_THROW(d.doc.GetDisabled(129), IffError);
    EXPECT_THROW(d.doc.GetSorts(129), IffError);
    // A BMP_ with the ID is not an OBJD.
    EXPECT_THROW(d.doc.GetPrice(200), IffError);

    const QByteArray before = d.body();
    EXPECT_FALSE(d.doc.SetPrice(129, 5));
    EXPECT_FALSE(d.doc.SetDisabled(129, true));
    EXPECT_FALSE(d.doc.SetSorts(129, SortSet{1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(d.body(), before);
    EXPECT_EQ(d.doc.ResourceCount(), 2);
}
