#include "AppTestEnv.h"
#include "CProgramSettings.h"
#include "GameLocator.h"
#include "WineRegistry.h"

namespace
{

const QString kGameKey = QStringLiteral("SOFTWARE\\Maxis\\The Sims");

// A registry in memory that holds one value, under the game's key.
struct OneValueRegistry : RegistryBackend {
    std::optional<RegistryValue> held;
    std::optional<RegistryValue> value(quint32 root, const QString& key,
                                       const QString& name) const override
    {
        const bool here = root == HKEY_LOCAL_MACHINE_ROOT && key == kGameKey && name == "V";
        return here ? held : std::nullopt;
    }
    bool write(quint32, const QString&, const QString&, const QString&) override { return false; }
};

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
                        "\"Broken\"=\"no closing quote\n"
                        "@=\"the default\"\n\n"
                        "[Software\\\\Maxis\\\\The Sims\\\\Sub] 1733500000\n"
                        "\"Language\"=\"English\"\n"
                        "[Software\\\\Odd\\]Name] 1\n\"Value\"=\"x\"\n";

QString Text(const QByteArray& reg, const QString& key, const QString& name)
{
    const auto v = WineRegistry::FindValue(reg, key, name);
    if (!v)
        return QStringLiteral("<missing>");
    if (const auto* n = std::get_if<quint32>(&*v))
        return QStringLiteral("<dword %1>").arg(*n);
    return std::holds_alternative<QString>(*v) ? std::get<QString>(*v) : QStringLiteral("<other>");
}

} // namespace

TEST(CProgramSettings, ValuesAsText)
{
    CProgramSettings s; // the key path is read back by the registry below
    s.setRegBase(QStringLiteral("Maxis"));
    s.setProgram(QStringLiteral("The Sims"));
    s.setSection(QString());
    OneValueRegistry reg;
    SetPlatformRegistry(&reg);
    const std::pair<std::optional<RegistryValue>, QString> cases[] = {
        {QStringLiteral("C:\\Sims"), QStringLiteral("C:\\Sims")},
        {quint32(42), QStringLiteral("42")},
        {QString(), QStringLiteral("def")},
        {RegistryOther{}, QStringLiteral("def")},
        {std::nullopt, QStringLiteral("def")}};
    for (const auto& [held, expected] : cases) {
        reg.held = held;
        EXPECT_EQ(s.ReadEntry(QStringLiteral("V"), QStringLiteral("def")), expected);
    }
    SetPlatformRegistry(nullptr);
}

TEST(WineRegistryText, ValuesOfEveryKind)
{
    const std::pair<const char*, QString> expected[] = {
        {"Bin", "<other>"},
        {"Expand", "<other>"},
        {"installpath", "C:\\Program Files\\Maxis\\The Sims"},
        {"Quoted", QStringLiteral("say \"hi\"\n\u00e9t\u00e9")},
        {"Count", "<dword 42>"},
        {"Huge", "<other>"},
        {"NoEnd", "AB"}, // kept whole without its 0
        {"Broken", "<other>"},
        {"", "the default"},
        {"Language", "<missing>"}}; // a subkey's value
    for (const auto& [name, value] : expected)
        EXPECT_EQ(Text(kReg, QStringLiteral("software\\maxis\\THE SIMS"),
                       *name ? QString::fromLatin1(name) : QString()),
                  value)
            << name;
    EXPECT_EQ(Text(kReg, QStringLiteral("Software\\Odd]Name"), QStringLiteral("Value")), "x");
    EXPECT_EQ(Text(kReg, QStringLiteral("Software\\Maxis"), QStringLiteral("Count")), "<missing>");
    EXPECT_EQ(Text("[K]\n\"V\"=hex(1):41,00,42,00,00,00\n", "k", "v"), "AB");
    // Every cut of a good file is read within its bytes (the sanitizers watch).
    for (int cut = 0; cut < kReg.size(); ++cut)
        WineRegistry::FindValue(kReg.left(cut), kGameKey, QStringLiteral("Quoted"));
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
    TempHome home;
    QDir().mkpath(home.winePrefix);
    WriteFile(home.winePrefix + QStringLiteral("/system.reg"),
              "[Software\\\\Maxis\\\\The Sims] 1\n\"InstallPath\"=str(2):\"C:\\\\Sims\"\n");
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
