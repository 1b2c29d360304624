#include "AppTestEnv.h"
#include "GameLocator.h"
#include "RegistryBackend.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

// A Wine prefix in the temporary home with drive c: and the game's folder in it.
class WinePrefix
{
public:
    explicit WinePrefix(const TempHome& home, bool relativeLink = true) : m_home(home)
    {
        QDir().mkpath(driveC() + QStringLiteral("/Program Files/Maxis/The Sims/GameData"));
        QDir().mkpath(home.winePrefix() + QStringLiteral("/dosdevices"));
        const QString target = relativeLink ? QStringLiteral("../drive_c") : driveC();
        EXPECT_TRUE(QFile::link(target, home.winePrefix() + QStringLiteral("/dosdevices/c:")));
    }
    QString driveC() const { return m_home.winePrefix() + QStringLiteral("/drive_c"); }
    QString gameFolder() const
    {
        return QFileInfo(driveC() + QStringLiteral("/Program Files/Maxis/The Sims"))
            .canonicalFilePath();
    }
    void writeSystemReg(const QByteArray& keyAndValues) const
    {
        WriteFile(m_home.winePrefix() + QStringLiteral("/system.reg"),
                  "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" +
                      keyAndValues);
    }

private:
    const TempHome& m_home;
};

const QByteArray kInstallPath = "\"InstallPath\"=\"C:\\\\Program Files\\\\Maxis\\\\The Sims\"\n";

// A Steam library holding the re-release; with GameData unless told otherwise.
QString MakeSteamGame(const QString& library, bool withGameData = true)
{
    const QString game = library + QStringLiteral("/steamapps/common/The Sims Legacy Collection");
    QDir().mkpath(withGameData ? game + QStringLiteral("/GameData") : game);
    return QFileInfo(game).canonicalFilePath();
}

} // namespace

TEST(GameLocator, SixtyFourBitPrefixReadsThe32BitView)
{
    TempHome home;
    WinePrefix prefix(home);
    prefix.writeSystemReg("#arch=win64\n\n[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1\n"
                          "#time=1d\n" +
                          kInstallPath);
    EXPECT_EQ(GetGameFolder(), prefix.gameFolder());
}

TEST(GameLocator, ThirtyTwoBitPrefixReadsThePlainKey)
{
    TempHome home;
    WinePrefix prefix(home, false);
    prefix.writeSystemReg("#arch=win32\n\n[Software\\\\Maxis\\\\The Sims] 1\n" + kInstallPath);
    EXPECT_EQ(GetGameFolder(), prefix.gameFolder());
}

TEST(GameLocator, LetterCaseOfTheRegistryPathDoesNotMatter)
{
    TempHome home;
    WinePrefix prefix(home);
    prefix.writeSystemReg("[Software\\\\Maxis\\\\The Sims] 1\n"
                          "\"InstallPath\"=\"c:\\\\PROGRAM FILES\\\\maxis\\\\The Sims\\\\\"\n");
    EXPECT_EQ(QFileInfo(GetGameFolder()).canonicalFilePath(), prefix.gameFolder());
}

TEST(GameLocator, UnusableRegistryValuesFallBackToSteam)
{
    for (const QByteArray& value : {QByteArray("\"InstallPath\"=dword:0000002a\n"),
                                    QByteArray("\"InstallPath\"=str(2):\"C:\\\\Sims\"\n"),
                                    QByteArray("\"InstallPath\"=\"\"\n"),
                                    QByteArray("\"Other\"=\"C:\\\\Program Files\"\n")}) {
        TempHome home;
        WinePrefix prefix(home);
        prefix.writeSystemReg("[Software\\\\Maxis\\\\The Sims] 1\n" + value);
        EXPECT_TRUE(GetGameFolder().isEmpty()) << value.constData();
        const QString steam = MakeSteamGame(home.home() + QStringLiteral("/.local/share/Steam"));
        EXPECT_EQ(GetGameFolder(), steam) << value.constData();
    }
}

TEST(GameLocator, SteamGameNeedsGameData)
{
    TempHome home;
    MakeSteamGame(home.home() + QStringLiteral("/.local/share/Steam"), false);
    EXPECT_TRUE(GetGameFolder().isEmpty());
    const QString other = MakeSteamGame(home.home() + QStringLiteral("/.steam/steam"));
    EXPECT_EQ(GetGameFolder(), other);
}

TEST(GameLocator, SteamLibrariesListedInLibraryFolders)
{
    TempHome home;
    const QString steam = home.home() + QStringLiteral("/.local/share/Steam");
    const QString library = home.root() + QStringLiteral("/mnt/Games \"Lib\"");
    const QString game = MakeSteamGame(library);
    QDir().mkpath(steam + QStringLiteral("/steamapps"));
    QByteArray escaped = QFile::encodeName(library);
    escaped.replace("\"", "\\\"");
    WriteFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf"),
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + QFile::encodeName(steam) +
                  "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n"
                  "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                  escaped + "\"\n\t}\n}\n");
    EXPECT_EQ(GetGameFolder(), game);
}

TEST(GameLocator, OlderLibraryFoldersFormat)
{
    TempHome home;
    const QString steam = home.home() + QStringLiteral("/.steam/steam");
    const QString library = home.root() + QStringLiteral("/games2");
    const QString game = MakeSteamGame(library);
    QDir().mkpath(steam + QStringLiteral("/steamapps"));
    WriteFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf"),
              "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1700000000\"\n"
              "\t\"ContentStatsID\"\t\t\"-123\"\n\t\"1\"\t\t\"" +
                  QFile::encodeName(library) + "\"\n}\n");
    EXPECT_EQ(GetGameFolder(), game);
}

TEST(GameLocator, RegistryComesBeforeSteam)
{
    TempHome home;
    WinePrefix prefix(home);
    prefix.writeSystemReg("[Software\\\\Maxis\\\\The Sims] 1\n" + kInstallPath);
    MakeSteamGame(home.home() + QStringLiteral("/.local/share/Steam"));
    EXPECT_EQ(GetGameFolder(), prefix.gameFolder());
}

TEST(GameLocator, StaleRegistryPathGivesWayToSteam)
{
    TempHome home;
    WinePrefix prefix(home);
    prefix.writeSystemReg("[Software\\\\Maxis\\\\The Sims] 1\n"
                          "\"InstallPath\"=\"C:\\\\Uninstalled\\\\The Sims\"\n");
    EXPECT_FALSE(QFileInfo(GetGameFolder()).isDir());
    const QString steam = MakeSteamGame(home.home() + QStringLiteral("/.local/share/Steam"));
    EXPECT_EQ(GetGameFolder(), steam);
}

TEST(GameLocator, NothingAnywhereGivesEmptyText)
{
    TempHome home;
    EXPECT_TRUE(GetGameFolder().isEmpty());
    WriteFile(home.home() + QStringLiteral("/.steam"), "not a folder");
    EXPECT_TRUE(GetGameFolder().isEmpty());
}
