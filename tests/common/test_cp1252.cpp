#include "Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = DecodeCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0x81], QChar(0x81)); // undefined bytes stand for themselves
    EXPECT_EQ(EncodeCp1252(text), all);
}

TEST(Cp1252, RefusesCharactersItCannotHold)
{
    // 0x80 and 0x9F as code points: their bytes stand for other characters.
    for (char16_t c : {u'\u0080', u'\u009F', u'\u0100', u'\u65E5'})
        EXPECT_FALSE(EncodeCp1252(QString(QChar(c))).has_value()) << int(c);
    EXPECT_EQ(EncodeCp1252(QString()), QByteArray());
}
