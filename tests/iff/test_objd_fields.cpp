// Price, Disabled and the sort fields: exact bytes written, short bodies, absent objects.

#include "CatalogFixture.h"
#include "IffError.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

// Every byte differs from its neighbours, so a write that strays shows.
QByteArray patterned(int size = 216)
{
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i)
        body[i] = char((i * 13 + 5) & 0xFF);
    return body;
}

QByteArray withWord(QByteArray body, int offset, quint16 value)
{
    body[offset] = char(value & 0xFF);
    body[offset + 1] = char(value >> 8);
    return body;
}

struct Doc {
    clsIFF doc;
    explicit Doc(const QByteArray& objdBody)
    {
        EXPECT_TRUE(CatalogFixture()
                        .chunk("OBJD", 128, "Object", objdBody)
                        .bmp(200, "Catalog", MakeBmp(2, 2, 0))
                        .loadInto(doc));
    }
    QByteArray body() const { return doc.Resource("OBJD128").Body(); }
};

} // namespace

TEST(ObjdFields, PriceSortsAndDisabledLiveAtTheirOffsets)
{
    Doc d(patterned());
    for (auto [given, stored] : {std::pair{70000, 4464}, {-1, 65535}}) {
        ASSERT_TRUE(d.doc.SetPrice(128, given)); // the low sixteen bits are kept
        EXPECT_EQ(d.doc.GetPrice(128), stored);
        EXPECT_EQ(d.body(), withWord(patterned(), 36, quint16(stored))) << given;
    }
    // Slot order with the byte offsets written out, independent of the program's table.
    const int offsets[9] = {80, 188, 78, 190, 194, 198, 206, 208, 138};
    const SortSet stored = {4464, 65535, 64, 16, 0x8004, 128, 2, 1, 300};
    QByteArray expected = withWord(patterned(), 36, 65535);
    for (int slot = 0; slot < 9; ++slot)
        expected = withWord(expected, offsets[slot], quint16(stored[slot]));
    ASSERT_TRUE(d.doc.SetSorts(128, {70000, -1, 64, 16, 0x8004, 128, 0x10002, 1, 300}));
    EXPECT_EQ(d.body(), expected);
    EXPECT_EQ(d.doc.GetSorts(128), stored);
    EXPECT_EQ(d.doc.Resource("OBJD128").Length, 76 + 216);
    // Disabled reads as "field == 1".
    for (auto [field, disabled] : {std::pair{1, true}, {0, false}, {2, false}, {257, false}}) {
        Doc e(withWord(patterned(), 32, quint16(field)));
        EXPECT_EQ(e.doc.GetDisabled(128), disabled) << field;
        ASSERT_TRUE(e.doc.SetDisabled(128, !disabled));
        EXPECT_EQ(e.body(), withWord(patterned(), 32, disabled ? 0 : 1)) << field;
    }
}

TEST(ObjdFields, ShortBodyReadsTheBytesPresentAndIsNeitherGrownNorHalfWritten)
{
    EXPECT_EQ(Doc(withWord(patterned(), 36, 0x01C8).left(37)).doc.GetPrice(128), 0xC8);
    EXPECT_EQ(Doc(patterned(36)).doc.GetPrice(128), 0);
    EXPECT_TRUE(Doc(withWord(patterned(), 32, 0x0201).left(33)).doc.GetDisabled(128));
    EXPECT_FALSE(Doc(QByteArray()).doc.GetDisabled(128));
    const QByteArray cut = patterned(209); // Magic Town half present
    const SortSet read = Doc(cut).doc.GetSorts(128);
    EXPECT_EQ(read[7], quint8(cut[208]));
    EXPECT_EQ(read[0], quint8(cut[80]) | quint8(cut[81]) << 8);
    EXPECT_EQ(Doc(patterned(79)).doc.GetSorts(128), (SortSet{0, 0, quint8(cut[78])}));

    for (int size : {0, 33, 37, 38, 79, 209}) {
        Doc d(patterned(size));
        EXPECT_EQ(d.doc.SetDisabled(128, true), size >= 34) << size;
        EXPECT_EQ(d.doc.SetPrice(128, 1234), size >= 38) << size;
        QByteArray expected = patterned(size);
        if (size >= 34)
            expected = withWord(expected, 32, 1);
        if (size >= 38)
            expected = withWord(expected, 36, 1234);
        // The first eight sort fields would fit a 209-byte body; none is written.
        EXPECT_FALSE(d.doc.SetSorts(128, SortSet{1, 2, 4, 8, 16, 32, 64, 128, 5})) << size;
        EXPECT_EQ(d.body(), expected) << size;
        EXPECT_EQ(d.doc.Resource("OBJD128").Length, 76 + size);
    }
}

TEST(ObjdFields, AbsentObjdThrowsOnReadAndIsRefusedOnWrite)
{
    Doc d(patterned());
    EXPECT_THROW(d.doc.GetPrice(129), IffError);
    EXPECT_THROW(d.doc.GetDisabled(129), IffError);
    EXPECT_THROW(d.doc.GetSorts(200), IffError); // a BMP_ with that ID is no OBJD
    EXPECT_FALSE(d.doc.SetPrice(129, 5));
    EXPECT_FALSE(d.doc.SetDisabled(129, true));
    EXPECT_FALSE(d.doc.SetSorts(129, SortSet{1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(d.body(), patterned());
    EXPECT_EQ(d.doc.ResourceCount(), 2);
}

TEST(ObjdFields, ValuesAlreadyHeldAreLeftAsStored)
{
    // 2, 256 and 0xFFFF read as not disabled and stay so; sort fields hold anything.
    for (const int size : {300, 216, 210, 209, 37, 33}) {
        for (const quint16 flag : {0, 1, 2, 256, 0xFFFF}) {
            const QByteArray body = withWord(patterned(300), 32, flag).left(size);
            Doc d(body);
            EXPECT_TRUE(d.doc.SetDisabled(128, d.doc.GetDisabled(128))) << size << " " << flag;
            EXPECT_TRUE(d.doc.SetPrice(128, d.doc.GetPrice(128))) << size;
            EXPECT_TRUE(d.doc.SetSorts(128, d.doc.GetSorts(128))) << size;
            EXPECT_EQ(d.body(), body) << size << " " << flag;
        }
    }
}
