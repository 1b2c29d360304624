// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliTestSupport.h"
#include "DemoCatalog.h"
#include "DemoInstallation.h"
#include "GameLocator.h"
#include "clsIFF.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

TEST_F(CliTest, TheDemoInstallationKeepsItsPromises)
{
    const QString prefix = path(QStringLiteral("demo")), game = DemoGameFolder(prefix);
    Output(QStringLiteral("make-demo ") + prefix);
    const auto objectsOf = [&](const char* relative) {
        const QString objects = Output(QStringLiteral("objects \"%1%2\"").arg(game, relative));
        return QJsonDocument::fromJson(objects.toUtf8()).array();
    };

    // The game lookup finds it; files lists every demo file.
    EnvVarScope wine("WINEPREFIX", prefix);
    EXPECT_EQ(QDir(GetGameFolder()).canonicalPath(), QDir(game).canonicalPath());
    QStringList listed, expected;
    for (const QString& line :
         Output("--data-dir " + path("data") + " files").split('\n', Qt::SkipEmptyParts))
        listed << QFileInfo(line).canonicalFilePath();
    for (const DemoFile& file : DemoFiles())
        expected << QFileInfo(game + file.relativePath).canonicalFilePath();
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_GE(expected.size(), 12);

    // Running it again replaces the files.
    const QString chair = game + QStringLiteral("GameData/Objects/DiningChairOak.iff");
    const QString painting = game + QStringLiteral("GameData/UserObjects/PaintingSunset.iff");
    const QByteArray original = ReadFile(chair);
    const QJsonArray sets =
        QJsonDocument::fromJson(Output("strings --object 128 \"" + chair + '"').toUtf8()).array();
    EXPECT_EQ(sets.size(), 18);
    EXPECT_EQ(sets[2]["name"], QStringLiteral("Chaise de salle \u00e0 manger Oakley"));
    EXPECT_EQ(sets[17]["name"], QStringLiteral("Oakley Dining Chair"));
    Output(QStringLiteral("set \"%1\" --object 128 --price 1").arg(chair));
    ASSERT_NE(ReadFile(chair), original);
    Output(QStringLiteral("make-demo ") + prefix);
    EXPECT_EQ(ReadFile(chair), original);
    EXPECT_FALSE(QFile::permissions(painting) & QFile::WriteOwner);

    // It shows the cases a player meets.
    const QJsonArray bed = objectsOf("Downloads/DoubleBedMultiTile.iff");
    ASSERT_EQ(bed.size(), 1); // the lead tile only
    EXPECT_EQ(bed.at(0)["name"].toString(), QStringLiteral("Dreamweaver Double Bed"));
    EXPECT_TRUE(objectsOf("Downloads/GardenGnome.iff").at(0)["name"].isNull());
    const QJsonArray kitchen = objectsOf("GameData/Objects/KitchenSet.iff");
    ASSERT_EQ(kitchen.size(), 2);
    EXPECT_EQ(kitchen.at(0)["name"].toString(), QStringLiteral("Proven\u00e7al Counter"));
    EXPECT_TRUE(objectsOf("GameData/UserObjects/TelevisionRetro.iff").at(0)["disabled"].toBool());
    EXPECT_TRUE(ReadFile(game + QStringLiteral("Downloads/OldFormatStool.iff"))
                    .startsWith("IFF FILE 2.0:"));
    EXPECT_EQ(objectsOf("Downloads/OldFormatStool.iff").size(), 1);
    EXPECT_EQ(
        Cli(QStringLiteral("objects \"%1Downloads/Vacation Pack/BrokenDownload.iff\"").arg(game))
            .err,
        QStringLiteral("Invalid IFF File\n"));
    EXPECT_EQ(objectsOf("Downloads/Vacation Pack/HalfDownloaded.iff").size(), 1);

    // Two neighbourhoods; the game's sofa, whose GUID a download shares, stands on two lots.
    const auto json = [&](const char* command) {
        return QJsonDocument::fromJson(Output("--data-dir " + path("data") + command).toUtf8())
            .array();
    };
    EXPECT_EQ(json(" lots").size(), 3); // and a damaged one skipped
    QStringList lotsOfConflicts;
    for (const QJsonValue& conflict : json(" conflicts"))
        lotsOfConflicts << conflict["objects"][1]["entry"].toString() + ' ' +
                               QString::number(conflict["lots"].toArray().size());
    EXPECT_TRUE(lotsOfConflicts.contains("SofaClassic.iff 2"))
        << lotsOfConflicts.join(',').toStdString();

    // Each object has a catalog icon of its own.
    clsIFF doc;
    ASSERT_TRUE(doc.LoadFile(game + QStringLiteral("GameData/Objects/KitchenSet.iff")));
    const QImage counter = doc.GetIcon(128, QImage());
    EXPECT_EQ(counter.size(), QSize(74, 37));
    EXPECT_NE(counter, doc.GetIcon(129, QImage()));
}
