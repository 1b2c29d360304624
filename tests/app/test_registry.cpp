#include "AppTestEnv.h"
#include "CProgramSettings.h"
#include "RegistryBackend.h"
#include "WineRegistry.h"

#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A registry held in memory, recording what was written.
class MemoryRegistry : public RegistryBackend
{
public:
    QMap<QString, RegistryValue> values; // "root|key|name"
    QStringList writes;

    std::optional<RegistryValue> value(quint32 root, const QString& keyPath,
                                       const QString& name) const override
    {
        const auto it = values.find(Key(root, keyPath, name));
        if (it == values.end())
            return std::nullopt;
        return *it;
    }
    bool write(quint32 root, const QString& keyPath, const QString& name,
               const QString& text) override
    {
        writes << Key(root, keyPath, name) + QLatin1Char('=') + text;
        return true;
    }
    static QString Key(quint32 root, const QString& keyPath, const QString& name)
    {
        return QString::number(root, 16) + QLatin1Char('|') + keyPath + QLatin1Char('|') + name;
    }
};

class BackendScope
{
public:
    explicit BackendScope(RegistryBackend& backend) { SetPlatformRegistry(&backend); }
    ~BackendScope() { SetPlatformRegistry(nullptr); }
};

CProgramSettings GameKey()
{
    CProgramSettings s;
    s.setRegBase(QStringLiteral("Maxis"));
    s.setProgram(QStringLiteral("The Sims"));
    s.setSection(QString());
    return s;
}

const QString kGameKey = QStringLiteral("SOFTWARE\\Maxis\\The Sims");

const QByteArray kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Maxis\\\\The Sims] 1733500000\n"
    "#time=1db47a0c3a8e2f0\n"
    "\"Binary\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,\\\n"
    "  12,13,14,15\n"
    "\"Expand\"=str(2):\"%ProgramFiles%\\\\Maxis\"\n"
    "\"INSTALLPATH\"=\"C:\\\\Program Files\\\\Maxis\\\\The Sims\"\n"
    "\"Quoted\"=\"say \\\"hi\\\"\\n\\x00e9t\\x00e9\"\n"
    "\"Count\"=dword:0000002a\n"
    "\"NoEnd\"=hex(1):41,00,42,00\n"
    "\"Broken\"=\"no closing quote\n"
    "@=\"the default\"\n"
    "\n"
    "[Software\\\\Maxis\\\\The Sims\\\\Sub] 1733500000\n"
    "\"Language\"=\"English\"\n"
    "\n"
    "[Software\\\\Odd\\]Name] 1733500000\n"
    "\"Value\"=\"x\"\n";

} // namespace

TEST(CProgramSettings, KeyPathJoinsFourPartsAndDropsOneTrailingSeparator)
{
    CProgramSettings s;
    EXPECT_EQ(s.RootKey(), HKEY_LOCAL_MACHINE_ROOT);
    EXPECT_EQ(s.KeyPath(), QStringLiteral("SOFTWARE\\\\\\Settings")); // empty parts stay
    EXPECT_EQ(GameKey().KeyPath(), kGameKey);
    s.setRegBase(QStringLiteral("A"));
    s.setProgram(QString());
    s.setSection(QString());
    EXPECT_EQ(s.KeyPath(), QStringLiteral("SOFTWARE\\A\\")); // only one separator dropped
}

TEST(CProgramSettings, ReadEntryTurnsValuesIntoText)
{
    MemoryRegistry registry;
    BackendScope scope(registry);
    const quint32 root = HKEY_LOCAL_MACHINE_ROOT;
    registry.values[MemoryRegistry::Key(root, kGameKey, QStringLiteral("Text"))] =
        QStringLiteral("C:\\Sims");
    registry.values[MemoryRegistry::Key(root, kGameKey, QStringLiteral("Number"))] = quint32(42);
    registry.values[MemoryRegistry::Key(root, kGameKey, QStringLiteral("Big"))] =
        quint32(4000000000u);
    registry.values[MemoryRegistry::Key(root, kGameKey, QStringLiteral("Empty"))] = QString();
    registry.values[MemoryRegistry::Key(root, kGameKey, QStringLiteral("Other"))] = RegistryOther{};

    const CProgramSettings s = GameKey();
    const QString def = QStringLiteral("default");
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Text"), def), QStringLiteral("C:\\Sims"));
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Number"), def), QStringLiteral("42"));
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Big"), def), QStringLiteral("4000000000"));
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Empty"), def), def);
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Other"), def), def);
    EXPECT_EQ(s.ReadEntry(QStringLiteral("Missing"), def), def);
}

TEST(CProgramSettings, WriteEntryGoesToTheBackendUnderTheKey)
{
    MemoryRegistry registry;
    BackendScope scope(registry);
    CProgramSettings s = GameKey();
    s.WriteEntry(QStringLiteral("Name"), QStringLiteral("value"));
    EXPECT_EQ(registry.writes, QStringList{MemoryRegistry::Key(HKEY_LOCAL_MACHINE_ROOT, kGameKey,
                                                               QStringLiteral("Name")) +
                                           QStringLiteral("=value")});
}

TEST(WineRegistryText, ReadsStringsWithTheirEscapes)
{
    const auto v = WineRegistry::FindValue(kSystemReg, kGameKey, QStringLiteral("InstallPath"));
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(std::get<QString>(*v), QStringLiteral("C:\\Program Files\\Maxis\\The Sims"));

    const auto q = WineRegistry::FindValue(kSystemReg, kGameKey, QStringLiteral("quoted"));
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(std::get<QString>(*q), QStringLiteral("say \"hi\"\n\u00e9t\u00e9"));

    const auto d = WineRegistry::FindValue(kSystemReg, kGameKey, QString());
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(std::get<QString>(*d), QStringLiteral("the default"));
}

TEST(WineRegistryText, NumbersAndOtherTypes)
{
    const auto n = WineRegistry::FindValue(kSystemReg, kGameKey, QStringLiteral("Count"));
    ASSERT_TRUE(n.has_value());
    EXPECT_EQ(std::get<quint32>(*n), 42u);
    for (const char* name : {"Expand", "Binary", "Broken"}) {
        const auto v = WineRegistry::FindValue(kSystemReg, kGameKey, QLatin1String(name));
        ASSERT_TRUE(v.has_value()) << name;
        EXPECT_TRUE(std::holds_alternative<RegistryOther>(*v)) << name;
    }
    // Text stored without its closing 0 is kept whole.
    const auto s = WineRegistry::FindValue(kSystemReg, kGameKey, QStringLiteral("NoEnd"));
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(std::get<QString>(*s), QStringLiteral("AB"));
    const QByteArray withEnd = "[A]\n\"V\"=hex(1):41,00,42,00,00,00\n";
    EXPECT_EQ(std::get<QString>(
                  *WineRegistry::FindValue(withEnd, QStringLiteral("a"), QStringLiteral("v"))),
              QStringLiteral("AB"));
}

TEST(WineRegistryText, KeysMatchWholeAndWithoutRegardToCase)
{
    EXPECT_TRUE(WineRegistry::FindValue(kSystemReg, QStringLiteral("software\\maxis\\the sims"),
                                        QStringLiteral("Count")));
    // A value of a subkey is not a value of its parent, nor the other way round.
    EXPECT_FALSE(WineRegistry::FindValue(kSystemReg, kGameKey, QStringLiteral("Language")));
    EXPECT_FALSE(WineRegistry::FindValue(kSystemReg, kGameKey + QStringLiteral("\\Sub"),
                                         QStringLiteral("Count")));
    EXPECT_FALSE(WineRegistry::FindValue(kSystemReg, QStringLiteral("Software\\Maxis"),
                                         QStringLiteral("Count")));
    EXPECT_TRUE(WineRegistry::FindValue(kSystemReg, QStringLiteral("Software\\Odd]Name"),
                                        QStringLiteral("Value")));
}

TEST(WineRegistryText, DamagedTextGivesNothing)
{
    EXPECT_FALSE(WineRegistry::FindValue(QByteArray(), kGameKey, QStringLiteral("InstallPath")));
    EXPECT_FALSE(WineRegistry::FindValue("[Software\\\\Maxis\\\\The Sims", kGameKey,
                                         QStringLiteral("InstallPath")));
    // Every prefix of a good file is read without fault.
    for (int cut = 0; cut < kSystemReg.size(); ++cut)
        WineRegistry::FindValue(kSystemReg.left(cut), kGameKey, QStringLiteral("InstallPath"));
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise += char((i * 7919) % 251);
    EXPECT_FALSE(WineRegistry::FindValue(noise, kGameKey, QStringLiteral("InstallPath")));
    const auto dword = WineRegistry::FindValue("[K]\n\"D\"=dword:1234567890\n", QStringLiteral("K"),
                                               QStringLiteral("D"));
    ASSERT_TRUE(dword.has_value());
    EXPECT_TRUE(std::holds_alternative<RegistryOther>(*dword)); // more than 32 bits
}

TEST(WineRegistryPrefix, PlainKeyFirstThenThe32BitView)
{
    QTemporaryDir prefix;
    WriteFile(prefix.filePath(QStringLiteral("system.reg")),
              "WINE REGISTRY Version 2\n"
              "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1\n"
              "\"InstallPath\"=\"C:\\\\Wow\"\n"
              "\"Only32\"=\"yes\"\n"
              "[Software\\\\Maxis\\\\The Sims] 1\n"
              "\"InstallPath\"=\"C:\\\\Plain\"\n");
    WriteFile(prefix.filePath(QStringLiteral("user.reg")),
              "WINE REGISTRY Version 2\n[Software\\\\Maxis\\\\The Sims] 1\n\"User\"=\"u\"\n");
    WineRegistry reg(prefix.path());
    const quint32 hklm = HKEY_LOCAL_MACHINE_ROOT;
    EXPECT_EQ(std::get<QString>(*reg.value(hklm, kGameKey, QStringLiteral("InstallPath"))),
              QStringLiteral("C:\\Plain"));
    EXPECT_EQ(std::get<QString>(*reg.value(hklm, kGameKey, QStringLiteral("Only32"))),
              QStringLiteral("yes"));
    EXPECT_FALSE(reg.value(hklm, kGameKey, QStringLiteral("User")));
    EXPECT_EQ(std::get<QString>(*reg.value(0x80000001u, kGameKey, QStringLiteral("User"))),
              QStringLiteral("u"));
    EXPECT_FALSE(reg.value(0x80000000u, kGameKey, QStringLiteral("InstallPath")));
    EXPECT_FALSE(reg.write(hklm, kGameKey, QStringLiteral("InstallPath"), QStringLiteral("x")));

    WineRegistry missing(prefix.filePath(QStringLiteral("nothing-here")));
    EXPECT_FALSE(missing.value(hklm, kGameKey, QStringLiteral("InstallPath")));
}

TEST(WineRegistryPrefix, PrefixComesFromTheEnvironment)
{
    TempHome home;
    EXPECT_EQ(WineRegistry().prefix(), home.winePrefix());
    {
        EnvVarScope unset("WINEPREFIX", QString());
        EXPECT_EQ(WineRegistry::EnvironmentPrefix(), home.home() + QStringLiteral("/.wine"));
    }
    EnvVarScope other("WINEPREFIX", QStringLiteral("/srv/games/prefix"));
    EXPECT_EQ(WineRegistry().prefix(), QStringLiteral("/srv/games/prefix"));
    EXPECT_EQ(WineRegistry(QStringLiteral("/fixed")).prefix(), QStringLiteral("/fixed"));
}

TEST(WineRegistryPrefix, DriveLinksTranslateWindowsPaths)
{
    QTemporaryDir prefix;
    const QString canonicalPrefix = QFileInfo(prefix.path()).canonicalFilePath();
    QDir().mkpath(prefix.filePath(QStringLiteral("drive_c/Games")));
    QDir().mkpath(prefix.filePath(QStringLiteral("elsewhere")));
    QDir().mkpath(prefix.filePath(QStringLiteral("dosdevices")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../drive_c"),
                            prefix.filePath(QStringLiteral("dosdevices/c:"))));
    ASSERT_TRUE(QFile::link(prefix.filePath(QStringLiteral("elsewhere")),
                            prefix.filePath(QStringLiteral("dosdevices/d:"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/"), prefix.filePath(QStringLiteral("dosdevices/z:"))));

    EXPECT_EQ(WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("C:\\Games\\The Sims")),
              canonicalPrefix + QStringLiteral("/drive_c/Games/The Sims"));
    EXPECT_EQ(WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("d:\\Sims\\")),
              canonicalPrefix + QStringLiteral("/elsewhere/Sims/"));
    EXPECT_EQ(WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("Z:\\opt\\sims")),
              QStringLiteral("/opt/sims"));
    EXPECT_EQ(WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("C:")),
              canonicalPrefix + QStringLiteral("/drive_c"));
    EXPECT_TRUE(WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("E:\\Sims")).isEmpty());
    EXPECT_TRUE(
        WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("\\\\server\\share")).isEmpty());
    EXPECT_TRUE(WineRegistry::ToLocalPath(prefix.path(), QStringLiteral("42")).isEmpty());
}
