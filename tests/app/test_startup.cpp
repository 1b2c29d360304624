#include "AppTestEnv.h"
#include "DataFiles.h"
#include "Startup.h"

TEST(Startup, VersionTextStoredStateOrTheDefaults)
{
    EXPECT_EQ(BuildVersionText(2, 5, 3), QStringLiteral("2.05.03"));
    EXPECT_EQ(BuildVersionText(1, 123, 0), QStringLiteral("1.23"));

    StateGuard guard;
    TempHome home;
    const QString game = home.dir.path() + "/The Sims", data = home.dir.path() + "/data";
    QDir().mkpath(game);
    QDir().mkpath(data);
    ProgramState.Presets = {{"stale", {}}};
    ASSERT_EQ(RunStartup({data, game}), StartupResult::Ready);
    EXPECT_EQ(ProgramState.ProgramFolder, data + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.GameFolder, game + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.VersionText, QStringLiteral("1.00"));
    EXPECT_EQ(ProgramState.PresetCount(), 0);
    const auto listed = [] { // "+" after a folder walked with its subfolders
        QString out;
        for (const FolderEntry& folder : ProgramState.Folders)
            out += folder.Path + (folder.IncludeSubfolders ? "+ " : " ");
        return out;
    };
    EXPECT_EQ(listed().remove(game + '/'),
              "Downloads/+ GameData/Objects/ GameData/UserObjects/ ExpansionPack/ ExpansionPack2/ "
              "ExpansionPack3/ ExpansionPack4/ ExpansionPack5/ ExpansionPack6/ ExpansionPack7/ "
              "Deluxe/ ExpansionShared/ ");

    QByteArray presets, folders;
    ASSERT_TRUE(EncodePresets({{"Mine", {1}}}, &presets));
    ASSERT_TRUE(EncodeFolders({{QStringLiteral("/my/"), false}}, &folders));
    WriteFile(data + "/presets.dat", presets);
    WriteFile(data + "/folders.dat", folders);
    ASSERT_EQ(RunStartup({data + QLatin1Char('/'), game + QLatin1Char('/')}), StartupResult::Ready);
    EXPECT_EQ(ProgramState.GameFolder, game + QLatin1Char('/')); // no second slash
    EXPECT_EQ(ProgramState.PresetCount(), 1);
    EXPECT_EQ(listed(), "/my/ ");

    ProgramState.Folders.clear();
    for (const QString& missing : {game + "/missing", data + "/folders.dat", QString()})
        EXPECT_EQ(RunStartup({data, missing}), StartupResult::GameNotFound); // no Wine, no Steam
    EXPECT_EQ(ProgramState.FolderCount(), 0);
}
