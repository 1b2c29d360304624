#include "AppTestEnv.h"
#include "DataFiles.h"
#include "DefaultFolders.h"
#include "Startup.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

QStringList DefaultTails()
{
    return {QStringLiteral("Downloads/"),
            QStringLiteral("GameData/Objects/"),
            QStringLiteral("GameData/UserObjects/"),
            QStringLiteral("ExpansionPack/"),
            QStringLiteral("ExpansionPack2/"),
            QStringLiteral("ExpansionPack3/"),
            QStringLiteral("ExpansionPack4/"),
            QStringLiteral("ExpansionPack5/"),
            QStringLiteral("ExpansionPack6/"),
            QStringLiteral("ExpansionPack7/"),
            QStringLiteral("Deluxe/"),
            QStringLiteral("ExpansionShared/")};
}

void ExpectDefaults(const QString& gameFolder)
{
    const QStringList tails = DefaultTails();
    ASSERT_EQ(ProgramState.FolderCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(ProgramState.Folders[i].Path, gameFolder + tails[i]) << i;
        EXPECT_EQ(ProgramState.Folders[i].IncludeSubfolders, i == 0) << i;
    }
}

// A game folder and a data folder for start-up, in a temporary home.
struct StartupFixture {
    StateGuard guard;
    TempHome home;
    QString game = home.root() + QStringLiteral("/The Sims");
    QString data = home.root() + QStringLiteral("/data");
    StartupFixture()
    {
        QDir().mkpath(game);
        QDir().mkpath(data);
    }
    StartupOptions options() const { return {data, game}; }
};

} // namespace

TEST(VersionText, MinorAndRevisionAreTwoDigits)
{
    EXPECT_EQ(BuildVersionText(1, 0, 0), QStringLiteral("1.00"));
    EXPECT_EQ(BuildVersionText(2, 5, 3), QStringLiteral("2.05.03"));
    EXPECT_EQ(BuildVersionText(1, 12, 0), QStringLiteral("1.12"));
    EXPECT_EQ(BuildVersionText(1, 123, 0), QStringLiteral("1.23"));
    EXPECT_EQ(BuildVersionText(1, 0, 7), QStringLiteral("1.00.07"));
    EXPECT_EQ(BuildVersionText(10, 99, 100), QStringLiteral("10.99.00"));
}

TEST(DefaultFolders, TwelveFoldersUnderTheGameFolder)
{
    StateGuard guard;
    ProgramState.GameFolder = QStringLiteral("/games/The Sims/");
    ProgramState.Folders = {{QStringLiteral("/old/"), true}};
    SetDefaultFolders();
    ExpectDefaults(QStringLiteral("/games/The Sims/"));
}

TEST(Startup, FirstStartGetsTheDefaultsAndNoPresets)
{
    StartupFixture f;
    ProgramState.Presets = {Preset{"stale", {}}};
    ASSERT_EQ(RunStartup(f.options()), StartupResult::Ready);
    EXPECT_EQ(ProgramState.ProgramFolder, f.data + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.GameFolder, f.game + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.VersionText, QStringLiteral("1.00"));
    EXPECT_EQ(ProgramState.IffSignature25.size(), 60);
    EXPECT_EQ(ProgramState.IffSignature20.size(), 60);
    EXPECT_EQ(ProgramState.PresetCount(), 0);
    ExpectDefaults(f.game + QLatin1Char('/'));
}

TEST(Startup, StoredFoldersReplaceTheDefaultsButAnEmptyListDoesNot)
{
    StartupFixture f;
    QByteArray presets, folders;
    ASSERT_TRUE(EncodePresets({Preset{"Mine", {1, 2, 3, 4, 5, 6, 7, 8, 9}}}, &presets));
    ASSERT_TRUE(EncodeFolders({{QStringLiteral("/my/objects/"), false}}, &folders));
    WriteFile(f.data + QStringLiteral("/presets.dat"), presets);
    WriteFile(f.data + QStringLiteral("/folders.dat"), folders);
    ASSERT_EQ(RunStartup(f.options()), StartupResult::Ready);
    ASSERT_EQ(ProgramState.PresetCount(), 1);
    EXPECT_EQ(ProgramState.Presets[0].Name, QByteArray("Mine"));
    ASSERT_EQ(ProgramState.FolderCount(), 1);
    EXPECT_EQ(ProgramState.Folders[0].Path, QStringLiteral("/my/objects/"));

    WriteFile(f.data + QStringLiteral("/folders.dat"), QByteArray(2, '\0'));
    ASSERT_EQ(RunStartup(f.options()), StartupResult::Ready);
    ExpectDefaults(f.game + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.PresetCount(), 1); // presets are read afresh, not added twice
}

TEST(Startup, GameFolderGetsExactlyOneSlash)
{
    StartupFixture f;
    StartupOptions options = f.options();
    options.gameDir = f.game + QLatin1Char('/');
    options.dataDir = f.data + QLatin1Char('/');
    ASSERT_EQ(RunStartup(options), StartupResult::Ready);
    EXPECT_EQ(ProgramState.GameFolder, f.game + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.ProgramFolder, f.data + QLatin1Char('/'));
}

TEST(Startup, MissingGameReadsNothing)
{
    StartupFixture f;
    QByteArray folders;
    ASSERT_TRUE(EncodeFolders({{QStringLiteral("/my/objects/"), false}}, &folders));
    WriteFile(f.data + QStringLiteral("/folders.dat"), folders);
    ProgramState.Folders.clear();

    StartupOptions options = f.options();
    options.gameDir = f.home.root() + QStringLiteral("/no such game");
    EXPECT_EQ(RunStartup(options), StartupResult::GameNotFound);
    EXPECT_EQ(ProgramState.FolderCount(), 0);

    options.gameDir = f.data + QStringLiteral("/folders.dat"); // a file, not a folder
    EXPECT_EQ(RunStartup(options), StartupResult::GameNotFound);

    options.gameDir.clear(); // nothing in the registry, no Steam library
    EXPECT_EQ(RunStartup(options), StartupResult::GameNotFound);
    EXPECT_EQ(ProgramState.GameFolder, QStringLiteral("/"));
    EXPECT_EQ(ProgramState.FolderCount(), 0);
}

TEST(Startup, DefaultProgramFolderIsWritableAndEndsInSlash)
{
    TempHome home;
    const QString folder = DefaultProgramFolder();
    ASSERT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(folder).isWritable());
}
