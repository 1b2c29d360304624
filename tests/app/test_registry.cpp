#include "AppTestEnv.h"
#include "CProgramSettings.h"
#include "GameLocator.h"
#include "WineRegistry.h"

namespace
{

const QString kGameKey = QStringLiteral("SOFTWARE\\Maxis\\The Sims");

const QByteArray kReg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                        "[Software\\\\Maxis\\\\The Sims] 1733500000\n"
                        "#time=1db47a0c3a8e2f0\n"
                        "\"Bin\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,\\\n"
                        "  12,13\n"
                        "\"Expand\"=str(2):\"%ProgramFiles%\\\\Maxis\"\n"
                        "\"INSTALLPATH\"=\"C:\\\\Program Files\\\\Maxis\\\\The Sims\"\n"
                        "\"Quoted\"=\"say \\\"hi\\\"\\n\\x00e9t\\x00e9\"\n"
                        "\"Count\"=dword:0000002a\n"
                        "\"Huge\"=dword:1234567890\n"
                        "\"NoEnd\"=hex(1):41,00,42,00\n"
                        "\"Ended\"=hex(1):41,00,42,00,00,00\n"
                        "\"Empty\"=\"\"\n"
                        "\"Broken\"=\"no closing quote\n"
                        "@=\"the default\"\n\n"
                        "[Software\\\\Maxis\\\\The Sims\\\\Odd\\]Name] 1733500000\n"
                        "\"Language\"=\"English\"\n";

} // namespace

// The values of the game's key as the program reads its install path: text, or a number as
// text; any other kind, an empty text or a missing value gives the default.
TEST(WineRegistry, ValuesOfEveryKindAsTheSettingsReadThem)
{
    TempHome home; // $WINEPREFIX is the registry read
    MakeFile(home.winePrefix + QStringLiteral("/system.reg"), kReg);
    CProgramSettings s;
    s.setRegBase(QStringLiteral("Maxis"));
    s.setProgram(QStringLiteral("The Sims"));
    s.setSection(QString());
    const std::pair<const char*, QString> expected[] = {
        {"Bin", "def"},
        {"Expand", "def"},
        {"installpath", "C:\\Program Files\\Maxis\\The Sims"},
        {"Quoted", QStringLiteral("say \"hi\"\n\u00e9t\u00e9")},
        {"Count", "42"},
        {"Huge", "def"},
        {"NoEnd", "AB"}, // kept whole without its 0
        {"Ended", "AB"},
        {"Empty", "def"},
        {"Broken", "def"},
        {"", "the default"},
        {"Language", "def"}}; // a subkey's value
    for (const auto& [name, value] : expected)
        EXPECT_EQ(s.ReadEntry(QString::fromLatin1(name), QStringLiteral("def")), value) << name;
    s.setSection(QStringLiteral("Odd]Name")); // written with an escaped bracket
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Language"), QString()), QStringLiteral("English"));
    // A key holds none of its subkeys' values.
    EXPECT_FALSE(WineRegistry::FindValue(kReg, QStringLiteral("Software\\Maxis"), "Count"));
}

TEST(GameLocator, WinePrefixesOf64And32Bits)
{
    for (const bool wow : {true, false}) {
        TempHome home;
        const QString drive = home.winePrefix + QStringLiteral("/drive_c");
        QDir().mkpath(drive + QStringLiteral("/Program Files/Maxis/The Sims"));
        QDir().mkpath(home.winePrefix + QStringLiteral("/dosdevices"));
        // Wine links c: relatively; other tools write absolute links.
        ASSERT_TRUE(QFile::link(wow ? QStringLiteral("../drive_c") : drive,
                                home.winePrefix + QStringLiteral("/dosdevices/c:")));
        WriteFile(home.winePrefix + QStringLiteral("/system.reg"),
                  QByteArray("WINE REGISTRY Version 2\n[Software\\\\") +
                      (wow ? "Wow6432Node\\\\" : "") +
                      "Maxis\\\\The Sims] 1\n\"InstallPath\"=\"C:\\\\program files\\\\Maxis\\\\"
                      "The Sims\\\\\"\n");
        // The registry comes before Steam.
        QDir().mkpath(home.home +
                      "/.steam/steam/steamapps/common/The Sims Legacy Collection/GameData");
        const QString game =
            QDir(drive).canonicalPath() + QStringLiteral("/Program Files/Maxis/The Sims");
        EXPECT_EQ(GetGameFolder(), game) << wow;
        EXPECT_FALSE(WineRegistry().write(HKEY_LOCAL_MACHINE_ROOT, kGameKey, "InstallPath", "x"));
    }
}

TEST(GameLocator, SteamLibrariesWhenTheRegistryGivesNothing)
{
    TempHome home; // no registry
    const QString steam = home.home + QStringLiteral("/.local/share/Steam");
    const QString game = QStringLiteral("/steamapps/common/The Sims Legacy Collection");
    QDir().mkpath(steam + game); // no GameData: not the game
    EXPECT_TRUE(GetGameFolder().isEmpty());

    const QString library = home.dir.path() + QStringLiteral("/mnt/Games \"2\"");
    QDir().mkpath(library + game + QStringLiteral("/GameData"));
    QByteArray quoted = QFile::encodeName(library).replace("\"", "\\\"");
    WriteFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf"),
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + QFile::encodeName(steam) +
                  "\"\n\t\t\"apps\" { \"228980\" \"1\" }\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                  quoted + "\"\n\t}\n}\n");
    EXPECT_EQ(GetGameFolder(), QDir(library).canonicalPath() + game);

    // The older format numbers the libraries directly.
    const QString old = home.dir.path() + QStringLiteral("/old");
    QDir().mkpath(old + game + QStringLiteral("/GameData"));
    WriteFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf"),
              "\"LibraryFolders\"\n{\n\t\"ContentStatsID\"\t\"-1\"\n\t\"1\"\t\"" +
                  QFile::encodeName(old) + "\"\n}\n");
    EXPECT_EQ(GetGameFolder(), QDir(old).canonicalPath() + game);
}
