#include "CliFixtures.h"
#include "CliTestSupport.h"

namespace
{

class CliState : public CliTest
{
protected:
    void SetUp() override
    {
        for (const char* file :
             {"Downloads/b.iff", "Downloads/A.IFF", "Downloads/readme.txt",
              "Downloads/Walls/wall.iff", "GameData/Objects/chair.iff", "Elsewhere/mine.iff"})
            WriteBytes(game + QLatin1Char('/') + QLatin1String(file), QByteArray("x"));
        ASSERT_TRUE(QDir().mkpath(data));
    }

    QStringList state() const
    {
        return {QStringLiteral("--data-dir"), data, QStringLiteral("--game-dir"), game};
    }

    const QString data = path(QStringLiteral("data"));
    const QString game = path(QStringLiteral("game"));
};

} // namespace

TEST_F(CliState, FilesListsTheDefaultFoldersInListingOrder)
{
    const CliResult result = RunTool(state() << QStringLiteral("files"));
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringList({game + QStringLiteral("/Downloads/A.IFF"),
                                       game + QStringLiteral("/Downloads/b.iff"),
                                       game + QStringLiteral("/Downloads/Walls/wall.iff"),
                                       game + QStringLiteral("/GameData/Objects/chair.iff")})
                                  .join(QLatin1Char('\n')) +
                              QLatin1Char('\n'));
}

TEST_F(CliState, FilesFollowsTheStoredFolderList)
{
    QByteArray folders;
    ASSERT_TRUE(
        EncodeFolders({FolderEntry{game + QStringLiteral("/Elsewhere/"), false}}, &folders));
    WriteBytes(data + QStringLiteral("/folders.dat"), folders);
    const CliResult result = RunTool(state() << QStringLiteral("files"));
    ASSERT_EQ(result.code, 0);
    EXPECT_EQ(result.out, game + QStringLiteral("/Elsewhere/mine.iff\n"));
    // Listing never writes the program's own files.
    EXPECT_EQ(ReadBytes(data + QStringLiteral("/folders.dat")), folders);
    EXPECT_FALSE(QFile::exists(data + QStringLiteral("/presets.dat")));
}

TEST_F(CliState, WithoutAGameFolderStateCommandsFail)
{
    for (const char* command : {"files", "presets", "game-folder"}) {
        // Neither a registry entry (empty WINEPREFIX) nor a Steam library in the test's home.
        const CliResult result =
            RunTool({QStringLiteral("--data-dir"), data, QLatin1String(command)});
        EXPECT_EQ(result.code, 1) << command;
        EXPECT_EQ(result.err, QStringLiteral("The Sims directory could not be found.\n"));
        EXPECT_TRUE(result.out.isEmpty());
    }
    const CliResult named =
        RunTool({QStringLiteral("--data-dir"), data, QStringLiteral("--game-dir"),
                 path(QStringLiteral("gone")), QStringLiteral("files")});
    EXPECT_EQ(named.code, 1);
}

TEST_F(CliState, PresetsPrintsNamesAndSlots)
{
    WriteBytes(data + QStringLiteral("/presets.dat"),
               PresetsBytes({Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}},
                             Preset{"Caf\xe9 \x80", {255, 0, 128, 1, 2, 3, 4, 5, 7}}}));
    const CliResult result = RunTool(state() << QStringLiteral("presets"));
    ASSERT_EQ(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral("Kitchen\t4,1,1,0,0,0,0,0,0\n"
                                         "Caf\u00e9 \u20ac\t255,0,128,1,2,3,4,5,7\n"));
}

TEST_F(CliState, NoPresetsPrintsNothing)
{
    const CliResult result = RunTool(state() << QStringLiteral("presets"));
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(CliState, GameFolderPrintsTheFolderInUse)
{
    const CliResult result = RunTool(state() << QStringLiteral("game-folder"));
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, game + QStringLiteral("/\n"));
}
