#include "CliTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

class CliDocuments : public CliTest
{
protected:
    void SetUp() override { WriteBytes(file, CatalogFileBytes()); }
    const QString file = path(QStringLiteral("catalog.iff"));
};

const QString kResourceLines = QStringLiteral("OBJD\t128\tChair \u00e9\t216\n"
                                              "CTSS\t2000\t\t%1\n"
                                              "OBJD\t129\tLamp\t216\n"
                                              "OBJD\t130\tBed lead\t216\n"
                                              "OBJD\t131\tBed tile\t216\n"
                                              "BMP_\t2000\tCatalog\t10\n"
                                              "STR#\t128\tstrings\t3\n")
                                   .arg(MakeCatalogCtss("Oak Chair", "Sturdy \x80 seat").size());

} // namespace

TEST_F(CliDocuments, UsageErrorsExitWithTwoAndOneLine)
{
    for (const char* line :
         {"", "frobnicate %1", "resources", "resources %1 %1", "resources %1 --output x",
          "objects %1 --no-such-option", "files --game-dir", "resave %1 --output \"\""}) {
        const CliResult result = Cli(QString::fromLatin1(line).replace(QLatin1String("%1"), file));
        EXPECT_EQ(result.code, 2) << line;
        EXPECT_TRUE(result.out.isEmpty()) << line;
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << line << result.err.toStdString();
    }
    EXPECT_EQ(ReadBytes(file), CatalogFileBytes());
    const CliResult help = Cli(QStringLiteral("--help"));
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("make-demo DIR")));
}

TEST_F(CliDocuments, ResourcesAndFormatsListTheFileButNotItsMap)
{
    EXPECT_EQ(Cli(QStringLiteral("resources ") + file).out, kResourceLines);
    // Once saved the file has a resource map: counted by formats, shown by neither.
    const QString saved = path(QStringLiteral("saved.iff"));
    ASSERT_EQ(Cli(QStringLiteral("resave %1 --output %2").arg(file, saved)).code, 0);
    const CliResult resources = Cli(QStringLiteral("resources ") + saved);
    EXPECT_EQ(resources.code, 0);
    EXPECT_EQ(resources.out, kResourceLines);
    const CliResult formats = Cli(QStringLiteral("formats ") + saved);
    EXPECT_EQ(formats.code, 0);
    EXPECT_EQ(formats.out, QStringLiteral(">> All resources\nOBJD (4)\nCTSS (1)\nBMP_ (1)\n"
                                          "STR# (1)\n"));
}

TEST_F(CliDocuments, BadOrMissingFilesFailWithOneLine)
{
    const QString bad = path(QStringLiteral("bad.iff"));
    WriteBytes(bad, QByteArray("<html>404 Not Found</html>"));
    for (const char* command : {"resources", "formats", "objects", "resave"}) {
        const CliResult result = Cli(QStringLiteral("%1 %2").arg(QLatin1String(command), bad));
        EXPECT_EQ(result.code, 1) << command;
        EXPECT_EQ(result.err, QStringLiteral("Invalid IFF File\n")) << command;
        EXPECT_TRUE(result.out.isEmpty()) << command;
    }
    EXPECT_EQ(ReadBytes(bad), QByteArray("<html>404 Not Found</html>"));
    const CliResult missing = Cli(QStringLiteral("objects ") + path(QStringLiteral("none.iff")));
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err.count(QLatin1Char('\n')), 1);
    EXPECT_GT(missing.err.trimmed().size(), 0);
}

TEST_F(CliDocuments, ResaveIsStableAndDefaultsToTheFileItself)
{
    const QString first = path(QStringLiteral("first.iff"));
    const QString second = path(QStringLiteral("second.iff"));
    ASSERT_EQ(Cli(QStringLiteral("resave %1 --output %2").arg(file, first)).code, 0);
    ASSERT_EQ(Cli(QStringLiteral("resave %1 --output %2").arg(first, second)).code, 0);
    const QByteArray saved = ReadBytes(first);
    EXPECT_EQ(ReadBytes(second), saved);
    EXPECT_EQ(ReadBytes(file), CatalogFileBytes()); // --output leaves the source alone
    ASSERT_EQ(Cli(QStringLiteral("resave ") + file).code, 0);
    EXPECT_EQ(ReadBytes(file), saved);
    const CliResult unwritable = Cli(QStringLiteral("resave %1 --output %1/x.iff").arg(file));
    EXPECT_EQ(unwritable.code, 1); // a file cannot hold a folder
    EXPECT_EQ(unwritable.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(ReadBytes(file), saved);
}

TEST_F(CliDocuments, ObjectsJsonFollowsTheObjectList)
{
    const CliResult result = Cli(QStringLiteral("objects ") + file);
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const QJsonArray objects = QJsonDocument::fromJson(result.out.toUtf8()).array();
    ASSERT_EQ(objects.size(), 3); // the bed's second tile is not an object of its own

    const QJsonObject chair = objects.at(0).toObject();
    EXPECT_EQ(chair.value("id").toInt(), 128);
    EXPECT_EQ(chair.value("resource_name").toString(), QStringLiteral("Chair \u00e9"));
    EXPECT_EQ(chair.value("name").toString(), QStringLiteral("Oak Chair"));
    EXPECT_EQ(chair.value("description").toString(), QStringLiteral("Sturdy \u20ac seat"));
    EXPECT_EQ(chair.value("price").toInt(), 250);
    EXPECT_TRUE(chair.value("disabled").toBool());
    const QJsonArray sorts = chair.value("sorts").toArray();
    ASSERT_EQ(sorts.size(), 9);
    for (int slot = 0; slot < 9; ++slot)
        EXPECT_EQ(sorts.at(slot).toInt(), kChairSorts[slot]) << "slot " << slot;

    const QJsonObject lamp = objects.at(1).toObject();
    EXPECT_EQ(lamp.value("id").toInt(), 129);
    EXPECT_TRUE(lamp.value("name").isNull());
    EXPECT_TRUE(lamp.value("description").isNull());
    EXPECT_FALSE(lamp.value("disabled").toBool());
    EXPECT_EQ(objects.at(2).toObject().value("id").toInt(), 130);
}

TEST_F(CliDocuments, OddFilesStillGiveWellFormedOutput)
{
    const QString empty = path(QStringLiteral("empty.iff"));
    WriteBytes(empty, CatalogFixture().chunk("STR#", 7, "two\tparts\nline", "").fileBytes());
    const CliResult objects = Cli(QStringLiteral("objects ") + empty);
    EXPECT_EQ(objects.code, 0);
    EXPECT_TRUE(QJsonDocument::fromJson(objects.out.toUtf8()).isArray());
    EXPECT_TRUE(QJsonDocument::fromJson(objects.out.toUtf8()).array().isEmpty());
    // A name holding control characters stays on one line.
    EXPECT_EQ(Cli(QStringLiteral("resources ") + empty).out,
              QStringLiteral("STR#\t7\ttwo\\x09parts\\x0aline\t0\n"));
}
