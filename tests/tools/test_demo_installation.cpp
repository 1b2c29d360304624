#include "CliTestSupport.h"
#include "DemoCatalog.h"
#include "DemoInstallation.h"
#include "GameLocator.h"
#include "clsIFF.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

class Demo : public CliTest
{
protected:
    void SetUp() override
    {
        const CliResult result = Cli(QStringLiteral("make-demo ") + prefix);
        ASSERT_EQ(result.code, 0) << result.err.toStdString();
    }
    QJsonArray objectsOf(const char* relative)
    {
        const CliResult result =
            RunArgs({QStringLiteral("objects"), game + QLatin1String(relative)});
        EXPECT_EQ(result.code, 0) << relative << result.err.toStdString();
        return QJsonDocument::fromJson(result.out.toUtf8()).array();
    }

    const QString prefix = path(QStringLiteral("demo"));
    const QString game = DemoGameFolder(prefix);
};

} // namespace

TEST_F(Demo, TheGameLookupFindsItAndFilesListsEveryDemoFile)
{
    EnvVarScope wine("WINEPREFIX", prefix);
    EXPECT_EQ(QDir(GetGameFolder()).canonicalPath(), QDir(game).canonicalPath());
    EXPECT_TRUE(
        ReadFile(prefix + QStringLiteral("/system.reg")).startsWith("WINE REGISTRY Version 2\n"));

    const CliResult result = Cli(QStringLiteral("--data-dir %1 files").arg(path("data")));
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    QStringList listed, expected;
    for (const QString& line : result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        listed << QFileInfo(line).canonicalFilePath();
    for (const DemoFile& file : DemoFiles())
        expected << QFileInfo(game + file.relativePath).canonicalFilePath();
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_GE(expected.size(), 12);
}

TEST_F(Demo, RunningAgainReplacesTheFiles)
{
    const QString chair = game + QStringLiteral("GameData/Objects/DiningChairOak.iff");
    const QString painting = game + QStringLiteral("GameData/UserObjects/PaintingSunset.iff");
    const QByteArray original = ReadFile(chair);
    ASSERT_EQ(Cli(QStringLiteral("set \"%1\" --object 128 --price 1").arg(chair)).code, 0);
    ASSERT_NE(ReadFile(chair), original);
    ASSERT_EQ(Cli(QStringLiteral("make-demo ") + prefix).code, 0);
    EXPECT_EQ(ReadFile(chair), original);
    EXPECT_FALSE(QFile::permissions(painting) & QFile::WriteOwner);
}

TEST_F(Demo, ShowsTheCasesAPlayerMeets)
{
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
    const CliResult broken =
        Cli(QStringLiteral("objects \"%1Downloads/Vacation Pack/BrokenDownload.iff\"").arg(game));
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.err, QStringLiteral("Invalid IFF File\n"));
    EXPECT_EQ(objectsOf("Downloads/Vacation Pack/HalfDownloaded.iff").size(), 1);
}

TEST_F(Demo, IconsAreDistinct24BitBitmaps)
{
    clsIFF doc;
    ASSERT_TRUE(doc.LoadFile(game + QStringLiteral("GameData/Objects/KitchenSet.iff")));
    const QByteArray bmp = doc.Resource(QByteArray("BMP_2000")).Body();
    EXPECT_EQ(quint8(bmp.at(28)), 24);
    EXPECT_EQ(bmp.size(), 54 + 37 * 224); // rows of 74 pixels padded to 224 bytes
    const QImage counter = doc.GetIcon(128, QImage()).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(counter.size(), QSize(74, 37));
    EXPECT_NE(counter, doc.GetIcon(129, QImage()).convertToFormat(QImage::Format_RGB32));
}

TEST_F(CliTest, MakeDemoOverAFileFails)
{
    const QString blocker = path(QStringLiteral("blocker"));
    MakeFile(blocker, QByteArray("not a folder"));
    const CliResult result = Cli(QStringLiteral("make-demo ") + blocker);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(ReadFile(blocker), QByteArray("not a folder"));

    // A real prefix keeps its registry and gets no demo files.
    const QString wine = path(QStringLiteral("wine"));
    const QByteArray registry("WINE REGISTRY Version 2\n;; the player's own\n");
    MakeFile(wine + QStringLiteral("/system.reg"), registry);
    const CliResult refused = Cli(QStringLiteral("make-demo ") + wine);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("not a demo"))) << refused.err.toStdString();
    EXPECT_EQ(ReadFile(wine + QStringLiteral("/system.reg")), registry);
    EXPECT_FALSE(QFileInfo::exists(wine + QStringLiteral("/drive_c")));
    EXPECT_FALSE(QFileInfo::exists(wine + QStringLiteral("/dosdevices")));
}
