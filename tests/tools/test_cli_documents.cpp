#include "CliFixtures.h"
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

TEST_F(CliDocuments, UsageErrorsExitWithTwo)
{
    const QList<QStringList> wrong = {
        {},
        {QStringLiteral("frobnicate"), file},
        {QStringLiteral("resources")},
        {QStringLiteral("resources"), file, file},
        {QStringLiteral("resources"), file, QStringLiteral("--output"), file},
        {QStringLiteral("objects"), file, QStringLiteral("--no-such-option")},
        {QStringLiteral("files"), QStringLiteral("--game-dir")},
        {QStringLiteral("resave"), file, QStringLiteral("--output"), QString()},
    };
    for (const QStringList& arguments : wrong) {
        const CliResult result = RunTool(arguments);
        EXPECT_EQ(result.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << result.err.toStdString();
    }
    EXPECT_EQ(ReadBytes(file), CatalogFileBytes());
}

TEST_F(CliDocuments, HelpListsTheCommands)
{
    const CliResult result = RunTool({QStringLiteral("--help")});
    EXPECT_EQ(result.code, 0);
    for (const char* command :
         {"resources", "formats", "objects", "resave", "set", "files", "presets", "make-demo"})
        EXPECT_TRUE(result.out.contains(QLatin1String(command))) << command;
}

TEST_F(CliDocuments, ResourcesListsEveryChunkButTheMap)
{
    CliResult result = RunTool({QStringLiteral("resources"), file});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, kResourceLines);

    // Once saved the file has a resource map, which the listing leaves out.
    const QString saved = path(QStringLiteral("saved.iff"));
    ASSERT_EQ(RunTool({QStringLiteral("resave"), file, QStringLiteral("--output"), saved}).code, 0);
    result = RunTool({QStringLiteral("resources"), saved});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, kResourceLines);
}

TEST_F(CliDocuments, FormatsCountsTypesInOrderOfFirstUse)
{
    const QString saved = path(QStringLiteral("saved.iff"));
    ASSERT_EQ(RunTool({QStringLiteral("resave"), file, QStringLiteral("--output"), saved}).code, 0);
    const CliResult result = RunTool({QStringLiteral("formats"), saved});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral(">> All resources\nOBJD (4)\nCTSS (1)\nBMP_ (1)\n"
                                         "STR# (1)\n"));
}

TEST_F(CliDocuments, NotAnIffFileIsRefusedWithTheLoadersMessage)
{
    const QString bad = path(QStringLiteral("bad.iff"));
    WriteBytes(bad, QByteArray("<html>404 Not Found</html>"));
    for (const char* command : {"resources", "formats", "objects", "resave"}) {
        const CliResult result = RunTool({QLatin1String(command), bad});
        EXPECT_EQ(result.code, 1) << command;
        EXPECT_EQ(result.err, QStringLiteral("Invalid IFF File\n")) << command;
        EXPECT_TRUE(result.out.isEmpty()) << command;
    }
    EXPECT_EQ(ReadBytes(bad), QByteArray("<html>404 Not Found</html>"));
}

TEST_F(CliDocuments, MissingFileFailsWithOneLine)
{
    const CliResult result = RunTool({QStringLiteral("objects"), path(QStringLiteral("none.iff"))});
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
    EXPECT_GT(result.err.trimmed().size(), 0);
}

TEST_F(CliDocuments, ResaveIsStableAndDefaultsToTheFileItself)
{
    const QString first = path(QStringLiteral("first.iff"));
    const QString second = path(QStringLiteral("second.iff"));
    ASSERT_EQ(RunTool({QStringLiteral("resave"), file, QStringLiteral("--output"), first}).code, 0);
    ASSERT_EQ(RunTool({QStringLiteral("resave"), first, QStringLiteral("--output"), second}).code,
              0);
    const QByteArray saved = ReadBytes(first);
    EXPECT_EQ(ReadBytes(second), saved);
    EXPECT_EQ(ReadBytes(file), CatalogFileBytes()); // --output leaves the source alone

    ASSERT_EQ(RunTool({QStringLiteral("resave"), second}).code, 0);
    EXPECT_EQ(ReadBytes(second), saved);
    ASSERT_EQ(RunTool({QStringLiteral("resave"), file}).code, 0);
    EXPECT_EQ(ReadBytes(file), saved);
}

TEST_F(CliDocuments, ObjectsJsonFollowsTheObjectList)
{
    const CliResult result = RunTool({QStringLiteral("objects"), file});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(result.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out.toStdString();
    const QJsonArray objects = json.array();
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
    EXPECT_EQ(lamp.value("sorts").toArray().at(0).toInt(), 128);

    EXPECT_EQ(objects.at(2).toObject().value("id").toInt(), 130);
    EXPECT_EQ(objects.at(2).toObject().value("price").toInt(), 900);
}

TEST_F(CliDocuments, FileWithoutObjectsGivesAnEmptyArray)
{
    const QString empty = path(QStringLiteral("empty.iff"));
    WriteBytes(empty, CatalogFixture().chunk("STR#", 1, "x", "y").fileBytes());
    const CliResult result = RunTool({QStringLiteral("objects"), empty});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(QJsonDocument::fromJson(result.out.toUtf8()).isArray());
    EXPECT_TRUE(QJsonDocument::fromJson(result.out.toUtf8()).array().isEmpty());
}

TEST_F(CliDocuments, ControlCharactersInNamesStayOnOneLine)
{
    const QString odd = path(QStringLiteral("odd.iff"));
    WriteBytes(odd, CatalogFixture().chunk("STR#", 7, "two\tparts\nline", "").fileBytes());
    const CliResult result = RunTool({QStringLiteral("resources"), odd});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral("STR#\t7\ttwo\\x09parts\\x0aline\t0\n"));
}
