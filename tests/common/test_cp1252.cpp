#include "Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = DecodeCp1252(all);
    ASSERT_EQ(text.size(), 256);
    const auto back = EncodeCp1252(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, DecodesTheHighTableAndTheUndefinedBytes)
{
    EXPECT_EQ(DecodeCp1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(DecodeCp1252("\x99"), QString(QChar(0x2122)));
    EXPECT_EQ(DecodeCp1252("\x9F"), QString(QChar(0x0178)));
    EXPECT_EQ(DecodeCp1252("caf\xE9"), QString::fromUtf8("café"));
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(DecodeCp1252(QByteArray(1, char(undefined))), QString(QChar(undefined)));
    EXPECT_EQ(DecodeCp1252(QByteArray("a\0b", 3)).size(), 3);
}

TEST(Cp1252, RefusesCharactersItCannotHold)
{
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("€ 5 – ok")), QByteArray("\x80 5 \x96 ok"));
    EXPECT_FALSE(EncodeCp1252(QString::fromUtf8("日本")).has_value());
    EXPECT_FALSE(EncodeCp1252(QString(QChar(0x0100))).has_value());
    // 0x80 and 0x9F as code points: their bytes stand for other characters.
    EXPECT_FALSE(EncodeCp1252(QString(QChar(0x0080))).has_value());
    EXPECT_FALSE(EncodeCp1252(QString(QChar(0x009F))).has_value());
    EXPECT_FALSE(EncodeCp1252(QString::fromUtf8("😀")).has_value());
    EXPECT_EQ(EncodeCp1252(QString()), QByteArray());
}
