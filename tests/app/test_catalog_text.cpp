#include "CatalogText.h"

#include <gtest/gtest.h>

TEST(CatalogText, PlainAndWindows1252TextBecomesItsBytes)
{
    QString error = QStringLiteral("stale");
    auto bytes =
        EncodeCatalogText(QStringLiteral("Caf\u00e9 \u20ac5 \u2013 \u201cnew\u201d"), &error);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, QByteArray("Caf\xE9 \x80"
                                 "5 \x96 \x93new\x94"));
    EXPECT_TRUE(error.isEmpty());
}

TEST(CatalogText, EmptyTextIsStorable)
{
    auto bytes = EncodeCatalogText(QString(), nullptr);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->isEmpty());
}

TEST(CatalogText, NullCharacterIsRefused)
{
    QString error;
    QString text = QStringLiteral("Chair");
    text.insert(2, QChar(0));
    EXPECT_FALSE(EncodeCatalogText(text, &error).has_value());
    EXPECT_EQ(error, QStringLiteral("The text cannot contain a null character."));
}

TEST(CatalogText, CharacterOutsideWindows1252IsRefusedAndNamed)
{
    QString error;
    EXPECT_FALSE(EncodeCatalogText(QStringLiteral("Sofa \u0141\u00f3d\u017a"), &error).has_value());
    EXPECT_EQ(error, QStringLiteral("The text contains a character that the game's catalog cannot "
                                    "hold: \"\u0141\""));
}

TEST(CatalogText, CharacterBeyondTheBasicPlaneIsNamedWhole)
{
    QString error;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_FALSE(EncodeCatalogText(QStringLiteral("Lamp ") + emoji, &error).has_value());
    EXPECT_TRUE(error.endsWith(QStringLiteral("\"") + emoji + QStringLiteral("\"")));
}

TEST(CatalogText, RefusalWithoutErrorPointerDoesNotCrash)
{
    EXPECT_FALSE(EncodeCatalogText(QString(QChar(0)), nullptr).has_value());
}
