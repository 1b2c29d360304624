// The rules of the sort vocabulary that the lists' keys depend on.

#include "SortVocabulary.h"

#include <gtest/gtest.h>

namespace
{

QList<int> values(const QList<SortRow>& rows)
{
    QList<int> out;
    for (const SortRow& r : rows)
        out.append(r.value);
    return out;
}

} // namespace

TEST(SortVocabulary, FlagListsRunInPowersOfTwoAndEndInOneHundredTwentyEight)
{
    EXPECT_EQ(values(SortRows(0)), (QList<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(values(SortRows(2)), (QList<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(SortRows(0)[6].text, "Miscellaneous"); // 64 here, 128 in the town lists
    for (int slot = 3; slot <= 7; ++slot) {
        EXPECT_EQ(values(SortRows(slot)), (QList<int>{1, 2, 4, 8, 128})) << slot;
        EXPECT_EQ(SortRows(slot).last().text, "Miscellaneous") << slot;
    }
    for (int slot : {0, 2, 3, 4, 5, 6, 7})
        for (const SortRow& r : SortRows(slot))
            EXPECT_EQ(r.keyNumber, r.value) << slot;
}

TEST(SortVocabulary, BuildModeKeysCountFromOneValuesFromZero)
{
    const QList<SortRow> rows = SortRows(8);
    ASSERT_EQ(rows.size(), 8);
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(rows[p].keyNumber, p + 1);
        EXPECT_EQ(rows[p].value, p);
    }
    EXPECT_EQ(rows.last().text, "Pool");
}

TEST(SortVocabulary, SubFunctionRowsFollowTheFunctionRow)
{
    EXPECT_TRUE(SortRows(1).isEmpty());
    for (int f = 0; f < 8; ++f) {
        const QList<SortRow> rows = SubFunctionRows(f);
        EXPECT_EQ(values(rows),
                  f == 6 ? (QList<int>{1, 2, 4, 8, 16, 32, 64}) : (QList<int>{1, 2, 4, 8, 16}))
            << f;
        EXPECT_EQ(rows.value(4).text, "Other") << f;
    }
    EXPECT_EQ(SubFunctionRows(6)[5].text, "Pets");
    EXPECT_EQ(SubFunctionRows(1)[0].text, "Counters");
    EXPECT_TRUE(SubFunctionRows(-1).isEmpty());
    EXPECT_TRUE(SubFunctionRows(8).isEmpty());
    EXPECT_TRUE(SortRows(9).isEmpty());
    EXPECT_EQ(SortCaption(8), "Build Mode:");
    EXPECT_TRUE(SortCaption(9).isEmpty());
}
