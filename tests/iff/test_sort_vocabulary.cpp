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

TEST(SortVocabulary, FlagListsAreKeyedByTheirValues)
{
    EXPECT_EQ(values(SortRows(0)), (QList<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    for (int slot = 3; slot <= 7; ++slot)
        EXPECT_EQ(values(SortRows(slot)), (QList<int>{1, 2, 4, 8, 128})) << slot;
    for (int slot : {0, 2, 3, 7})
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
    EXPECT_EQ(SortCaption(8), "Build Mode:");
}

TEST(SortVocabulary, SubFunctionRowsAndOutOfRangeSlots)
{
    EXPECT_EQ(values(SubFunctionRows(0)), (QList<int>{1, 2, 4, 8, 16}));
    EXPECT_EQ(values(SubFunctionRows(6)), (QList<int>{1, 2, 4, 8, 16, 32, 64}));
    EXPECT_TRUE(SortRows(1).isEmpty()); // the sub-function rows follow the function row
    EXPECT_TRUE(SubFunctionRows(-1).isEmpty());
    EXPECT_TRUE(SubFunctionRows(8).isEmpty());
    EXPECT_TRUE(SortRows(9).isEmpty());
    EXPECT_TRUE(SortCaption(9).isEmpty());
}
