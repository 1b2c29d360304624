#include "CliTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace
{

class CliDocuments : public CliTest
{
protected:
    void SetUp() override { MakeFile(file, CatalogFileBytes()); }
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

TEST_F(CliDocuments, FailuresExitWithOneLineAndTouchNothing)
{
    const QString bad = path(QStringLiteral("bad.iff"));
    MakeFile(bad, "<html>404 Not Found</html>");
    // Usage errors exit with 2; files that cannot be read (%2 a web page, %3 none) with 1.
    // Each row: the exit code, a blank, the command line.
    for (const char* row :
         {"2 ", "2 frobnicate %1", "2 resources", "2 resources %1 %1", "2 resources %1 --output x",
          "2 objects %1 --no-such-option", "2 files --game-dir", "2 resave %1 --output \"\"",
          "1 resources %2", "1 formats %2", "1 objects %2", "1 resave %2", "1 objects %3"}) {
        const char* line = row + 2;
        const int code = row[0] - '0';
        const CliResult result = Cli(QString::fromLatin1(line)
                                         .replace(QLatin1String("%1"), file)
                                         .replace(QLatin1String("%2"), bad)
                                         .replace(QLatin1String("%3"), path("none.iff")));
        EXPECT_EQ(result.code, code) << line;
        EXPECT_TRUE(result.out.isEmpty()) << line;
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << line << result.err.toStdString();
        EXPECT_GT(result.err.trimmed().size(), 0) << line;
        if (QByteArray(line).contains("%2"))
            EXPECT_EQ(result.err, QStringLiteral("Invalid IFF File\n")) << line;
    }
    EXPECT_EQ(ReadFile(file), CatalogFileBytes());
    EXPECT_EQ(ReadFile(bad), QByteArray("<html>404 Not Found</html>"));
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

TEST_F(CliDocuments, ResaveIsStableAndDefaultsToTheFileItself)
{
    const QString first = path(QStringLiteral("first.iff"));
    const QString second = path(QStringLiteral("second.iff"));
    ASSERT_EQ(Cli(QStringLiteral("resave %1 --output %2").arg(file, first)).code, 0);
    ASSERT_EQ(Cli(QStringLiteral("resave %1 --output %2").arg(first, second)).code, 0);
    const QByteArray saved = ReadFile(first);
    EXPECT_EQ(ReadFile(second), saved);
    EXPECT_EQ(ReadFile(file), CatalogFileBytes()); // --output leaves the source alone
    ASSERT_EQ(Cli(QStringLiteral("resave ") + file).code, 0);
    EXPECT_EQ(ReadFile(file), saved);
    const CliResult unwritable = Cli(QStringLiteral("resave %1 --output %1/x.iff").arg(file));
    EXPECT_EQ(unwritable.code, 1); // a file cannot hold a folder
    EXPECT_EQ(unwritable.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(ReadFile(file), saved);
}

TEST_F(CliDocuments, ObjectsJsonFollowsTheObjectList)
{
    // The bed's second tile is not an object of its own; the lamp's text is missing.
    const CliResult result = Cli(QStringLiteral("objects ") + file);
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(result.out.toUtf8()), QJsonDocument::fromJson(R"([
        {"id": 128, "resource_name": "Chair \u00e9", "name": "Oak Chair",
         "description": "Sturdy \u20ac seat", "price": 250, "disabled": true,
         "sorts": [1, 2, 4, 8, 16, 32, 64, 128, 3]},
        {"id": 129, "resource_name": "Lamp", "name": null, "description": null, "price": 40,
         "disabled": false, "sorts": [128, 2, 8, 0, 0, 0, 0, 0, 0]},
        {"id": 130, "resource_name": "Bed lead", "name": "Oak Chair",
         "description": "Sturdy \u20ac seat", "price": 900, "disabled": false,
         "sorts": [0, 0, 0, 0, 0, 0, 0, 0, 0]}])"));
}

TEST_F(CliDocuments, OddFilesStillGiveWellFormedOutput)
{
    const QString empty = path(QStringLiteral("empty.iff"));
    MakeFile(empty, CatalogFixture().chunk("STR#", 7, "two\tparts\nline", "").fileBytes());
    const CliResult objects = Cli(QStringLiteral("objects ") + empty);
    EXPECT_EQ(objects.code, 0);
    EXPECT_EQ(QJsonDocument::fromJson(objects.out.toUtf8()), QJsonDocument(QJsonArray()));
    // A name holding control characters stays on one line.
    EXPECT_EQ(Cli(QStringLiteral("resources ") + empty).out,
              QStringLiteral("STR#\t7\ttwo\\x09parts\\x0aline\t0\n"));
}
