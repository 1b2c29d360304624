// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestEnv.h"
#include "CProgramSettings.h"
#include "GameLanguage.h"
#include "GameLanguages.h"
#include "GameLocator.h"
#include "Startup.h"
#include "WineRegistry.h"

namespace
{

const QByteArray kHead = "WINE REGISTRY Version 2\n[Software\\\\"; // and a key below it

const QByteArray kReg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                        "[Software\\\\Maxis\\\\The Sims] 1733500000\n"
                        "#time=1db47a0c3a8e2f0\n"
                        "\"Bin\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,\\\n"
                        "  12,13\n"
                        "\"Expand\"=str(2):\"%ProgramFiles%\\\\Maxis\"\n"
                        "\"INSTALLPATH\"=\"C:\\\\Program Files\\\\Maxis\\\\The Sims\"\n"
                        "\"Quoted\"=\"say \\\"hi\\\"\\n\\x00e9f\\x00e9\"\n"
                        "\"Escapes\"=\"\\a\\b\\e\\f\\n\\r\\t\\v\\101\"\n"
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
        {"Quoted", QStringLiteral("say \"hi\"\n\u00e9f\u00e9")},
        {"Escapes", QStringLiteral("\a\b\x1b\f\n\r\t\vA")},
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
    EXPECT_FALSE(WineRegistry().write(HKEY_LOCAL_MACHINE_ROOT, "SOFTWARE\\Maxis\\The Sims",
                                      "InstallPath", "x")); // the prefix's files are never written
}

TEST(GameLanguages, NamesCodesAndWindowsLocales)
{
    // "text:code" pairs: names as the game's registry or a person writes them, and codes.
    for (const QString& pair : QStringLiteral("USEnglish:1|uk english:2|English:1|French:3|"
                                              "SimplifiedChinese:17|Traditional_Chinese:18|20:20|"
                                              "0:0|21:0|Klingon:0|:0")
                                   .split('|'))
        EXPECT_EQ(GameLanguages::FromText(pair.section(':', 0, 0)), pair.section(':', 1).toInt())
            << pair.toStdString();
    const std::pair<quint32, int> locales[] = {{0x409, 1},  {0x809, 2},  {0xC09, 1},  {0xC0C, 3},
                                               {0x816, 14}, {0x804, 17}, {0x404, 18}, {0xC04, 18},
                                               {0x412, 20}, {0x42A, 0}};
    for (const auto& [lcid, code] : locales)
        EXPECT_EQ(GameLanguages::FromLocaleId(lcid), code) << std::hex << lcid;
    EXPECT_EQ(GameLanguages::Name(18), QStringLiteral("Traditional Chinese"));
    EXPECT_EQ(GameLanguages::Name(0), QStringLiteral("Language 0"));
}

// The classic key's locale ID, else its SIMS_LANGUAGE, else the re-release's SIMS_LANGUAGE.
TEST(GameLanguage, EachRegistrySourceInTurn)
{
    const QByteArray classic = kHead + "Maxis\\\\The Sims] 1\n",
                     wow = kHead + "Wow6432Node\\\\Maxis\\\\The Sims] 1\n",
                     user = kHead + "Electronic Arts\\\\The Sims 25] 1\n";
    const struct {
        QByteArray system, user;
        int code;
    } cases[] = {
        {classic + "\"Language\"=dword:00000809", "", 2}, // the file's last line, unended
        {wow + "\"Language\"=dword:0000040c\n\"SIMS_LANGUAGE\"=\"German\"\n", "", 3},
        {classic + "\"Language\"=\"1031\"\n", "", 4},
        {classic + "\"Language\"=\"0x413\"\n", "", 7},
        {classic + "\"SIMS_LANGUAGE\"=\"French\"\n", user + "\"SIMS_LANGUAGE\"=\"Polish\"\n", 3},
        {classic + "\"Language\"=dword:0000042a\n\"SIMS_LANGUAGE\"=\"Dutch\"\n", "", 7},
        {classic + "\"SIMS_LANGUAGE\"=\"Elvish\"\n", user + "\"SIMS_LANGUAGE\"=\"UKEnglish\"\n", 2},
        {"", user + "\"sims_language\"=\"Korean\"\n", 20},
        {classic + "\"InstallPath\"=\"C:\\\\Sims\"\n", "", 0},
    };
    for (const auto& c : cases) {
        TempHome home;
        MakeFile(home.winePrefix + "/system.reg", c.system);
        MakeFile(home.winePrefix + "/user.reg", c.user);
        EXPECT_EQ(ReadGameLanguage(home.winePrefix), c.code) << c.system.data() << c.user.data();
        EXPECT_EQ(FindGameLanguage(home.home), c.code ? c.code : 1) << "$WINEPREFIX's";
    }
    EXPECT_EQ(ReadGameLanguage(QString()), 0);
}

// Each place the game is installed, found without options, in the order tried; the language
// is read from the prefix that goes with it.
TEST(GameLocator, EveryInstallPlaceInOrder)
{
    const QString legacy = "/steamapps/common/The Sims Legacy Collection";
    const QString native = "/.local/share/Steam",
                  flatpak = "/.var/app/com.valvesoftware.Steam/.local/share/Steam";
    const QString x86 = "/.wine/drive_c/Program Files (x86)/EA Games/The Sims Legacy";
    const QString programFiles = "/.wine/drive_c/Program Files/EA Games/The Sims Legacy";
    const QString manifest = "/steamapps/appmanifest_3314060.acf";
    const QString proton = "/steamapps/compatdata/3314060/pfx";
    const QString maxis = "/.wine/drive_c/Program Files/Maxis/The Sims", reg = "/.wine/system.reg";
    // The registry's path in other letter case; 64-bit Windows keeps it below Wow6432Node.
    const QByteArray key =
                         "Maxis\\\\The Sims] 1\n\"InstallPath\"=\"C:\\\\program files\\\\Maxis\\\\"
                         "The Sims\\\\\"\n",
                     plain = kHead + key, wow = kHead + "Wow6432Node\\\\" + key;
    // Steam's other libraries, quoted ("%h" is home); the older format numbers them directly.
    const QString lib = "/mnt/Games \"2\"", vdf = native + "/steamapps/libraryfolders.vdf";
    const QByteArray
        libraries = "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"%h" + native.toUtf8() +
                    "\"\n\t\t\"apps\" { \"228980\" \"1\" }\n\t}\n\t\"1\"\n\t{\n\t\t"
                    "\"path\"\t\t\"%h/mnt/Games \\\"2\\\"\"\n\t}\n}\n",
        older = "\"LibraryFolders\"\n{\n\t\"ContentStatsID\"\t\"-1\"\n\t\"1\"\t\"%h/old\"\n}\n";
    const std::pair<QString, QByteArray> noGameData = {native + legacy + "/readme.txt", ""};
    const struct {
        QStringList games;                           // folders made with GameData, under home
        QList<std::pair<QString, QByteArray>> files; // under home
        QString found, prefix;                       // under home; found null: none
        QString drive; // where the prefix's c: links to ("%h" is home); empty: no link
    } cases[] = {
        // The registry first, before Steam; Wine links c: relatively, other tools absolutely.
        {{maxis, "/.steam/steam" + legacy}, {{reg, wow}}, maxis, "/.wine", "../drive_c"},
        {{maxis, "/.steam/steam" + legacy}, {{reg, plain}}, maxis, "/.wine", "%h/.wine/drive_c"},
        {{native + "/steamapps/common/Die Sims"},
         {{native + manifest, "\"AppState\"\n{\n\t\"appid\"\t\"3314060\"\n\t\"installdir\"\t"
                              "\"Die Sims\"\n}\n"},
          {native + proton + "/user.reg",
           "[Software\\\\Electronic Arts\\\\The Sims 25] 1\n\"SIMS_LANGUAGE\"=\"German\"\n"}},
         native + "/steamapps/common/Die Sims",
         native + proton},
        {{flatpak + legacy}, {}, flatpak + legacy, flatpak + proton},
        {{x86, flatpak + legacy}, {}, x86, "/.wine"},
        {{x86, programFiles}, {}, programFiles, "/.wine"},
        {{native + legacy},
         {{native + manifest, "\"installdir\" \"../../x\""}},
         native + legacy,
         native + proton},
        {{native + legacy},
         {{native + manifest, "\"installdir\""}},
         native + legacy,
         native + proton},
        {{}, {noGameData}, QString(), "/.wine"},
        {{lib + legacy}, {noGameData, {vdf, libraries}}, lib + legacy, lib + proton},
        {{"/old" + legacy}, {{vdf, older}}, "/old" + legacy, "/old" + proton},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        TempHome home;
        const QByteArray encodedHome = QFile::encodeName(home.home);
        for (const QString& game : c.games)
            ASSERT_TRUE(QDir().mkpath(home.home + game + "/GameData"));
        for (const auto& [file, bytes] : c.files)
            MakeFile(home.home + file, QByteArray(bytes).replace("%h", encodedHome));
        if (!c.drive.isEmpty()) {
            QDir().mkpath(home.winePrefix + "/dosdevices");
            ASSERT_TRUE(QFile::link(QString(c.drive).replace("%h", home.home),
                                    home.winePrefix + "/dosdevices/c:"));
        }
        const GameInstall install = LocateGame();
        const QString canonicalHome = QDir(home.home).canonicalPath();
        EXPECT_EQ(install.folder, c.found.isNull() ? QString() : canonicalHome + c.found);
        EXPECT_EQ(QDir(install.prefix).absolutePath(),
                  QDir(canonicalHome + c.prefix).absolutePath());
        EXPECT_EQ(FindGameLanguage(QString()), c.found.endsWith("Die Sims") ? 4 : 1);
    }
    // A game folder given by hand brings the prefix it lies in.
    EXPECT_EQ(PrefixOfGameFolder("/p/drive_c/Games/Sims"), QStringLiteral("/p"));
    EXPECT_EQ(PrefixOfGameFolder("/lib/steamapps/common/X"), "/lib" + proton);
}
