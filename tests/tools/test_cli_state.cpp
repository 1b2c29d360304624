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
            MakeFile(game + QLatin1Char('/') + QLatin1String(file), QByteArray("x"));
    }
};

} // namespace

TEST_F(CliState, FilesListsTheFoldersInListingOrder)
{
    CliResult result = run("files");
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("%1/Downloads/A.IFF\n%1/Downloads/b.iff\n"
                                         "%1/Downloads/Walls/wall.iff\n"
                                         "%1/GameData/Objects/chair.iff\n")
                              .arg(game));
    EXPECT_EQ(run("game-folder").out, game + QStringLiteral("/\n"));

    QByteArray folders;
    ASSERT_TRUE(
        EncodeFolders({FolderEntry{game + QStringLiteral("/Elsewhere/"), false}}, &folders));
    MakeFile(data + QStringLiteral("/folders.dat"), folders);
    result = run("files");
    EXPECT_EQ(result.out, game + QStringLiteral("/Elsewhere/mine.iff\n"));
    // Listing never writes the program's own files.
    EXPECT_EQ(ReadFile(data + QStringLiteral("/folders.dat")), folders);
    EXPECT_FALSE(QFile::exists(data + QStringLiteral("/presets.dat")));
}

TEST_F(CliState, WithoutAGameFolderStateCommandsFail)
{
    // Neither a registry entry (the test's empty prefix) nor a Steam library in its home.
    for (const char* command : {"files", "presets", "game-folder", "check"}) {
        const CliResult result = Cli(QStringLiteral("--data-dir %1 %2").arg(data, command));
        EXPECT_EQ(result.code, 1) << command;
        EXPECT_EQ(result.err, QStringLiteral("The Sims directory could not be found.\n"));
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(Cli(QStringLiteral("--game-dir %1/gone files").arg(game)).code, 1);
}

TEST_F(CliState, PresetsPrintsNamesAndSlots)
{
    EXPECT_EQ(run("presets").out, QString());
    MakeFile(data + QStringLiteral("/presets.dat"),
             PresetsBytes({Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}},
                           Preset{"Caf\xe9 \x80", {255, 0, 128, 1, 2, 3, 4, 5, 7}}}));
    const CliResult result = run("presets");
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral("Kitchen\t4,1,1,0,0,0,0,0,0\n"
                                         "Caf\u00e9 \u20ac\t255,0,128,1,2,3,4,5,7\n"));
}
