#include "CatalogText.h"
#include "ShownCatalogText.h"

#include <gtest/gtest.h>

TEST(CatalogText, Windows1252TextBecomesItsBytes)
{
    QString error = QStringLiteral("stale");
    const auto bytes =
        EncodeCatalogText(QStringLiteral("Caf\u00e9 \u20ac5 \u201cnew\u201d"), &error);
    EXPECT_EQ(bytes, QByteArray("Caf\xE9 \x80") + "5 \x93new\x94");
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(EncodeCatalogText(QString(), nullptr), QByteArray());
}

TEST(CatalogText, NullOrUnstorableCharacterIsRefusedAndNamed)
{
    QString error;
    EXPECT_FALSE(EncodeCatalogText(QStringLiteral("Ch") + QChar(0) + QStringLiteral("ir"), &error));
    EXPECT_EQ(error, QStringLiteral("The text cannot contain a null character."));
    EXPECT_FALSE(EncodeCatalogText(QString(QChar(0)), nullptr)); // no error wanted: no crash
    EXPECT_FALSE(EncodeCatalogText(QStringLiteral("Sofa \u0141\u00f3d\u017a"), &error));
    EXPECT_EQ(error, QStringLiteral("The text contains a character that the game's catalog cannot "
                                    "hold: \"\u0141\""));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // named whole, not half a pair
    EXPECT_FALSE(EncodeCatalogText(QStringLiteral("Lamp ") + emoji, &error));
    EXPECT_TRUE(error.endsWith(QLatin1Char('"') + emoji + QLatin1Char('"')));
}

TEST(ShownCatalogText, UntouchedTextKeepsItsBytesAndAnEditReencodesOnlyWhatChanged)
{
    const QByteArray mixed("A\r\nB\rC\nD\xA0\xE9");
    struct Case {
        QByteArray stored;
        bool multiLine;
        QString shown;  // what the box shows
        QString edited; // what the box holds later
        QByteArray expected;
    };
    const QString shownMixed = QStringLiteral("A\nB\nC\nD\u00a0\u00e9");
    const Case cases[] = {
        {mixed, true, shownMixed, shownMixed, mixed},
        {mixed, true, shownMixed, shownMixed + "\nE", mixed + "\r\nE"},
        {mixed, true, shownMixed, QStringLiteral("A\nB!\nC\nD\u00a0\u00e9"),
         QByteArray("A\r\nB!\rC\nD\xA0\xE9")},
        {mixed, true, shownMixed, QStringLiteral("A\n\nB\nC\nD\u00a0\u00e9"),
         QByteArray("A\r\n\r\nB\rC\nD\xA0\xE9")},
        {mixed, true, shownMixed, QStringLiteral("A\nC\nD\u00a0\u00e9"),
         QByteArray("A\r\nC\nD\xA0\xE9")},
        {mixed, false, QStringLiteral("A\r\nB\rC\nD\u00a0\u00e9"),
         QStringLiteral("A\r\nB\rC\nD\u00a0\u00e9"), mixed},
        {"\x81\x8D", false, QStringLiteral("\u0081\u008d"), QStringLiteral("\u0081x\u008d"),
         "\x81x\x8D"},
        {"", true, QString(), QStringLiteral("\u20ac"), "\x80"},
    };
    for (const Case& c : cases) {
        const ShownCatalogText text(c.stored, c.multiLine);
        EXPECT_EQ(text.text(), c.shown) << c.stored.toHex().constData();
        QString error = QStringLiteral("stale");
        EXPECT_EQ(text.bytesFor(c.edited, &error), c.expected) << c.edited.toStdString();
        EXPECT_TRUE(error.isEmpty());
    }
    QString error;
    EXPECT_FALSE(ShownCatalogText(mixed, true).bytesFor(shownMixed + "\u0141", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("\u0141")));
}
