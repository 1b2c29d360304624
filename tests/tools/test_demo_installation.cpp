#include "CliTestSupport.h"
#include "DemoCatalog.h"
#include "DemoIcons.h"
#include "DemoInstallation.h"
#include "GameLocator.h"
#include "clsIFF.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace
{

class DemoInstallation : public CliTest
{
protected:
    void SetUp() override
    {
        const CliResult result = RunTool({QStringLiteral("make-demo"), prefix});
        ASSERT_EQ(result.code, 0) << result.err.toStdString();
    }
    QJsonArray objectsOf(const QString& relative)
    {
        const CliResult result = RunTool({QStringLiteral("objects"), game + relative});
        EXPECT_EQ(result.code, 0) << relative.toStdString() << result.err.toStdString();
        return QJsonDocument::fromJson(result.out.toUtf8()).array();
    }

    const QString prefix = path(QStringLiteral("demo"));
    const QString game = DemoGameFolder(prefix);
};

} // namespace

TEST_F(DemoInstallation, TheGameLookupFindsTheDemoThroughItsPrefix)
{
    ScopedEnv wine("WINEPREFIX", prefix);
    EXPECT_EQ(QDir(GetGameFolder()).canonicalPath(), QDir(game).canonicalPath());
    EXPECT_TRUE(
        ReadBytes(prefix + QStringLiteral("/system.reg")).startsWith("WINE REGISTRY Version 2\n"));
    EXPECT_EQ(QFileInfo(prefix + QStringLiteral("/dosdevices/c:")).symLinkTarget(),
              prefix + QStringLiteral("/drive_c"));
}

TEST_F(DemoInstallation, FilesListsEveryDemoFileOnce)
{
    ScopedEnv wine("WINEPREFIX", prefix);
    const CliResult result = RunTool(
        {QStringLiteral("--data-dir"), path(QStringLiteral("data")), QStringLiteral("files")});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    QStringList listed = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList expected;
    for (const DemoFile& file : DemoFiles())
        expected << QDir(game).canonicalPath() + QLatin1Char('/') + file.relativePath;
    for (QString& line : listed)
        line = QFileInfo(line).canonicalFilePath();
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_GE(expected.size(), 12);
}

TEST_F(DemoInstallation, RunningAgainReplacesTheFiles)
{
    const QString chair = game + QStringLiteral("GameData/Objects/DiningChairOak.iff");
    const QByteArray original = ReadBytes(chair);
    ASSERT_EQ(RunTool({QStringLiteral("set"), chair, QStringLiteral("--object"),
                       QStringLiteral("128"), QStringLiteral("--price"), QStringLiteral("1")})
                  .code,
              0);
    ASSERT_NE(ReadBytes(chair), original);
    const CliResult again = RunTool({QStringLiteral("make-demo"), prefix});
    ASSERT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_EQ(ReadBytes(chair), original);
    const QString painting = game + QStringLiteral("GameData/UserObjects/PaintingSunset.iff");
    EXPECT_FALSE(QFile::permissions(painting) & QFile::WriteOwner);
}

TEST_F(DemoInstallation, ShowsTheCasesAPlayerMeets)
{
    // A multi-tile object lists its lead only.
    const QJsonArray bed = objectsOf(QStringLiteral("Downloads/DoubleBedMultiTile.iff"));
    ASSERT_EQ(bed.size(), 1);
    EXPECT_EQ(bed.at(0).toObject().value("name").toString(),
              QStringLiteral("Dreamweaver Double Bed"));
    // An object without catalog text.
    const QJsonArray gnome = objectsOf(QStringLiteral("Downloads/GardenGnome.iff"));
    ASSERT_EQ(gnome.size(), 1);
    EXPECT_TRUE(gnome.at(0).toObject().value("name").isNull());
    // Two objects in one file, texts in Windows-1252.
    const QJsonArray kitchen = objectsOf(QStringLiteral("GameData/Objects/KitchenSet.iff"));
    ASSERT_EQ(kitchen.size(), 2);
    EXPECT_EQ(kitchen.at(0).toObject().value("name").toString(),
              QStringLiteral("Proven\u00e7al Counter"));
    // A disabled object, and a file that loads in the old format.
    EXPECT_TRUE(objectsOf(QStringLiteral("GameData/UserObjects/TelevisionRetro.iff"))
                    .at(0)
                    .toObject()
                    .value("disabled")
                    .toBool());
    EXPECT_TRUE(ReadBytes(game + QStringLiteral("Downloads/OldFormatStool.iff"))
                    .startsWith("IFF FILE 2.0:"));
    EXPECT_EQ(objectsOf(QStringLiteral("Downloads/OldFormatStool.iff")).size(), 1);
    // The damaged downloads: one refused, one cut short that still opens.
    const CliResult broken =
        RunTool({QStringLiteral("objects"), game + QStringLiteral("Downloads/BrokenDownload.iff")});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.err, QStringLiteral("Invalid IFF File\n"));
    EXPECT_EQ(objectsOf(QStringLiteral("Downloads/Vacation Pack/HalfDownloaded.iff")).size(), 1);
}

TEST_F(DemoInstallation, SortsCoverEveryFamily)
{
    SortSet seen{};
    for (const DemoFile& file : DemoFiles()) {
        for (const DemoObject& object : file.objects) {
            for (int slot = 0; slot < 9; ++slot)
                seen[slot] |= object.sorts[slot];
        }
    }
    for (int slot = 0; slot < 9; ++slot)
        EXPECT_NE(seen[slot], 0) << "slot " << slot;
}

TEST_F(DemoInstallation, EveryObjectHasItsOwnDecodableIcon)
{
    clsIFF doc;
    QSet<QByteArray> icons;
    const QImage placeholder(1, 1, QImage::Format_RGB32);
    doc.Clear();
    ASSERT_TRUE(doc.LoadFile(game + QStringLiteral("GameData/Objects/KitchenSet.iff")));
    for (const quint16 id : {quint16(128), quint16(129)}) {
        const QImage icon = doc.GetIcon(id, placeholder);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(74, 37));
        icons.insert(
            QByteArray(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes()));
    }
    EXPECT_EQ(icons.size(), 2);
}

TEST(DemoIcons, Bmp24RoundTripsThroughTheImageLoader)
{
    const QImage drawn = DrawDemoIcon(IconPicture::Lamp, qRgb(40, 60, 110));
    const QByteArray bmp = EncodeBmp24(drawn);
    ASSERT_EQ(bmp.size(), 54 + 37 * 224); // rows of 222 bytes padded to 224
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(quint8(bmp.at(28)), 24);
    const QImage loaded = QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(loaded.size(), drawn.size());
    EXPECT_EQ(loaded, drawn.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(drawn, DrawDemoIcon(IconPicture::Door, qRgb(40, 60, 110)));
}

TEST_F(CliTest, MakeDemoOverAFileFails)
{
    const QString blocker = path(QStringLiteral("blocker"));
    WriteBytes(blocker, QByteArray("not a folder"));
    const CliResult result = RunTool({QStringLiteral("make-demo"), blocker});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(ReadBytes(blocker), QByteArray("not a folder"));
}
