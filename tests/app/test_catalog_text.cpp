// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogText.h"
#include "ShownCatalogText.h"

#include <gtest/gtest.h>

TEST(CatalogText, Windows1252TextBecomesItsBytesAndAnythingElseIsRefusedAndNamed)
{
    QString error = QStringLiteral("stale");
    const auto bytes =
        EncodeCatalogText(QStringLiteral("Caf\u00e9 \u20ac5 \u201cnew\u201d"), &error);
    EXPECT_EQ(bytes, QByteArray("Caf\xE9 \x80") + "5 \x93new\x94");
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(EncodeCatalogText(QString(), nullptr), QByteArray());

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
    const QString shown = QStringLiteral("A\nB\nC\nD\u00a0\u00e9");
    EXPECT_EQ(ShownCatalogText(mixed, true).text(), shown);
    // Edited text -> stored bytes: each break keeps its own bytes unless it was typed.
    const std::pair<QString, QByteArray> cases[] = {
        {shown, mixed},
        {shown + "\nE", mixed + "\r\nE"},
        {QStringLiteral("A\nB!\nC\nD\u00a0\u00e9"), "A\r\nB!\rC\nD\xA0\xE9"},
        {QStringLiteral("A\n\nB\nC\nD\u00a0\u00e9"), "A\r\n\r\nB\rC\nD\xA0\xE9"},
        {QStringLiteral("A\nC\nD\u00a0\u00e9"), "A\r\nC\nD\xA0\xE9"},
        // A lone CR and a lone LF that the edit brings together stay two breaks.
        {QStringLiteral("A\nB\n\nD\u00a0\u00e9"), "A\r\nB\r\r\nD\xA0\xE9"}};
    for (const auto& [edited, expected] : cases) {
        EXPECT_EQ(ShownCatalogText(mixed, true).bytesFor(edited, nullptr), expected);
        EXPECT_EQ(ShownCatalogText(expected, true).text(), edited);
    }
    EXPECT_EQ(ShownCatalogText("\rX\n", true).bytesFor("\n\n", nullptr), "\r\r\n");
    // A one-line text shows every byte as it is.
    const ShownCatalogText line(mixed + "\x81", false);
    EXPECT_EQ(line.text(), QStringLiteral("A\r\nB\rC\nD\u00a0\u00e9\u0081"));
    EXPECT_EQ(line.bytesFor(line.text() + "x", nullptr), mixed + "\x81x");
    QString error;
    EXPECT_FALSE(ShownCatalogText(mixed, true).bytesFor(shown + "\u0141", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("\u0141")));
}
