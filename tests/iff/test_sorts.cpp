// The nine catalog sort fields of an OBJD, and the vocabulary their lists are built from.

#include "CatalogFixture.h"
#include "SortVocabulary.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

// Slot order with the byte offsets written out, independent of the program's own table:
// Function, Sub-Function, Room, Downtown, Vacation, Community, Studio Town, Magic Town,
// Build Mode.
constexpr int kOffsets[9] = {80, 188, 78, 190, 194, 198, 206, 208, 138};

QByteArray patternedBody(int size = 216)
{
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i)
        body[i] = char((i * 13 + 5) & 0xFF);
    return body;
}

void putWord(QByteArray& body, int offset, quint16 value)
{
    body[offset] = char(value & 0xFF);
    body[offset + 1] = char(value >> 8);
}

struct Doc {
    clsIFF doc;
    explicit Doc(const QByteArray& objdBody)
    {
        EXPECT_TRUE(CatalogFixture().chunk("OBJD", 128, "Object", objdBody).loadInto(doc));
    }
    const QByteArray& body() { return doc.Resource("OBJD128").Body(); }
};

QList<int> values(const QList<SortRow>& rows)
{
    QList<int> out;
    for (const SortRow& r : rows)
        out.append(r.value);
    return out;
}

} // namespace

TEST(Sorts, EachSlotReadsItsOwnField)
{
    QByteArray body = patternedBody();
    const SortSet expected = {1, 2, 64, 16, 0x8004, 128, 0xFFFF, 3, 7};
    for (int slot = 0; slot < 9; ++slot)
        putWord(body, kOffsets[slot], quint16(expected[slot]));
    Doc d(body);
    EXPECT_EQ(d.doc.GetSorts(128), expected);
}

TEST(Sorts, WritesLowSixteenBitsAtTheSlotOffsetsOnly)
{
    const QByteArray start = patternedBody();
    Doc d(start);
    const SortSet sorts = {70000, -1, 0, 16, 300, 128, 0x10002, 1, 300};
    ASSERT_TRUE(d.doc.SetSorts(128, sorts));

    QByteArray expected = start;
    const quint16 stored[9] = {4464, 65535, 0, 16, 300, 128, 2, 1, 300};
    for (int slot = 0; slot < 9; ++slot)
        putWord(expected, kOffsets[slot], stored[slot]);
    EXPECT_EQ(d.body(), expected);
    EXPECT_EQ(d.doc.Resource("OBJD128").Length, 76 + 216);
    EXPECT_EQ(d.doc.GetSorts(128), (SortSet{4464, 65535, 0, 16, 300, 128, 2, 1, 300}));
}

TEST(Sorts, ReadThenWriteLeavesTheBodyUnchanged)
{
    for (int size : {216, 210, 300}) {
        const QByteArray start = patternedBody(size);
        Doc d(start);
        ASSERT_TRUE(d.doc.SetSorts(128, d.doc.GetSorts(128))) << size;
        EXPECT_EQ(d.body(), start) << size;
    }
}

TEST(Sorts, ShortBodyIsLeftWhole)
{
    // Magic Town (208-209) is the last field; a body one byte short of it must not get the
    // other eight written.
    const QByteArray start = patternedBody(209);
    Doc d(start);
    EXPECT_FALSE(d.doc.SetSorts(128, SortSet{1, 2, 4, 8, 16, 32, 64, 128, 5}));
    EXPECT_EQ(d.body(), start);

    // Reading goes on with the bytes present: Magic Town is its low byte.
    const SortSet read = d.doc.GetSorts(128);
    EXPECT_EQ(read[7], quint8(start[208]));
    EXPECT_EQ(read[0], quint8(start[80]) | quint8(start[81]) << 8);

    Doc tiny(patternedBody(79)); // Room half present, everything else beyond
    const SortSet t = tiny.doc.GetSorts(128);
    EXPECT_EQ(t[2], quint8(patternedBody(79)[78]));
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[8], 0);
    EXPECT_FALSE(tiny.doc.SetSorts(128, SortSet{}));
    EXPECT_EQ(tiny.body(), patternedBody(79));
}

TEST(SortVocabulary, FlagListsEndInOneHundredTwentyEight)
{
    EXPECT_EQ(values(SortRows(0)), (QList<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(SortRows(0)[6].text, "Miscellaneous");
    EXPECT_EQ(SortRows(2)[6].text, "Miscellaneous");
    EXPECT_EQ(SortRows(2)[7].text, "Study");
    for (int slot = 3; slot <= 7; ++slot) {
        const QList<SortRow> rows = SortRows(slot);
        EXPECT_EQ(values(rows), (QList<int>{1, 2, 4, 8, 128})) << slot;
        EXPECT_EQ(rows.last().text, "Miscellaneous") << slot;
        for (const SortRow& r : rows)
            EXPECT_EQ(r.keyNumber, r.value) << slot;
    }
    EXPECT_EQ(SortRows(4)[0].text, "Lodging");
    EXPECT_EQ(SortRows(7)[2].text, "MagiCo");
}

TEST(SortVocabulary, BuildModeKeysCountFromOneValuesFromZero)
{
    const QList<SortRow> rows = SortRows(8);
    ASSERT_EQ(rows.size(), 8);
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(rows[p].keyNumber, p + 1);
        EXPECT_EQ(rows[p].value, p);
    }
    EXPECT_EQ(rows.first().text, "None");
    EXPECT_EQ(rows.last().text, "Pool");
}

TEST(SortVocabulary, SubFunctionGroupsFollowTheFunctionRow)
{
    EXPECT_TRUE(SortRows(1).isEmpty());
    for (int f = 0; f < 8; ++f) {
        const QList<SortRow> rows = SubFunctionRows(f);
        ASSERT_GE(rows.size(), 5) << f;
        EXPECT_EQ(rows[4].text, "Other") << f;
        EXPECT_EQ(rows[4].value, 16) << f;
        EXPECT_EQ(rows.size(), f == 6 ? 7 : 5) << f;
    }
    EXPECT_EQ(SubFunctionRows(6)[5].text, "Pets");
    EXPECT_EQ(SubFunctionRows(6)[5].value, 32);
    EXPECT_EQ(SubFunctionRows(6)[6].keyNumber, 64);
    EXPECT_EQ(SubFunctionRows(0)[0].text, "Dining Chairs");
    EXPECT_EQ(SubFunctionRows(1)[0].text, "Counters");
    EXPECT_TRUE(SubFunctionRows(-1).isEmpty());
    EXPECT_TRUE(SubFunctionRows(8).isEmpty());
}

TEST(SortVocabulary, CaptionsAndOutOfRangeSlots)
{
    EXPECT_EQ(SortCaption(0), "Function:");
    EXPECT_EQ(SortCaption(1), "Sub-Function:");
    EXPECT_EQ(SortCaption(8), "Build Mode:");
    EXPECT_TRUE(SortCaption(9).isEmpty());
    EXPECT_TRUE(SortCaption(-1).isEmpty());
    EXPECT_TRUE(SortRows(9).isEmpty());
    EXPECT_TRUE(SortRows(-1).isEmpty());
}
