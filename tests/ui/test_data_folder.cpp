// Where presets.dat and folders.dat live: a given folder, a portable copy beside the program,
// or the per-user data folder; the window writes there and kestrane-cli reads the same files.
#include "CliCommands.h"
#include "DataFiles.h"
#include "IffBytes.h"
#include "MainWindowHarness.h"
#include "Startup.h"
#include "modMain.h"

#include <QCoreApplication>
#include <QTextStream>

namespace
{

class DataFolderTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        SetProgramName();
        userFolder = m_tmp.path() + "/xdg-data/Kestrane/";
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_tmp.path() + "/xdg-data"));
        qputenv("WINEPREFIX", QFile::encodeName(m_tmp.path() + "/no-wine"));
    }
    void TearDown() override
    {
        MainWindowHarness::TearDown();
        qputenv("WINEPREFIX", m_savedWine);
    }
    QString folder(const QString& name) const { return m_tmp.path() + '/' + name + '/'; }

    QTemporaryDir m_tmp;
    QString userFolder;

private:
    QByteArray m_savedWine = qgetenv("WINEPREFIX");
};

TEST_F(DataFolderTest, GivenFolderThenPortableCopyThenUserFolder)
{
    struct Case {
        const char* name;
        const char* given;    // --data-dir
        const char* exeFile;  // a data file beside the executable
        const char* nextFile; // a data file in the second portable folder (the window's)
        const char* expected; // "user", or the folder expected
    } cases[] = {
        {"nothing stored", "", "", "", "user"},
        {"presets beside the program", "", "presets.dat", "", "exe"},
        {"only folders beside the program", "", "folders.dat", "", "exe"},
        {"the window's copy", "", "", "presets.dat", "next"},
        {"the program's own copy first", "", "folders.dat", "presets.dat", "exe"},
        {"another file is no data file", "", "presets.bak", "", "user"},
        {"--data-dir overrides", "given", "presets.dat", "folders.dat", "given"},
    };
    int i = 0;
    for (const Case& c : cases) {
        const QString base = QStringLiteral("case%1-").arg(i++);
        const QString exe = folder(base + "exe"), next = folder(base + "next");
        for (const QString& made : {exe + c.exeFile, next + c.nextFile}) {
            QDir().mkpath(QFileInfo(made).path());
            if (!made.endsWith('/'))
                WriteFile(made, QByteArray(2, 0));
        }
        const QString given = *c.given ? folder(base + c.given).chopped(1) : QString();
        const QString expected =
            QLatin1String(c.expected) == "user" ? userFolder : folder(base + c.expected);
        EXPECT_EQ(ChooseDataFolder(given, {exe, next}), expected) << c.name;
    }
    EXPECT_FALSE(QFileInfo::exists(userFolder)) << "choosing creates nothing";
}

TEST_F(DataFolderTest, ClosingTheWindowWritesTheUserFolderWhichTheCliReads)
{
    const QString exeFolder = QCoreApplication::applicationDirPath() + '/';
    for (const char* name : {"presets.dat", "folders.dat"})
        ASSERT_FALSE(QFileInfo::exists(exeFolder + name)) << "a stale copy beside the test";

    // Without the game nothing is written, not even the folder.
    EXPECT_EQ(Main({QString(), gameFolder + "missing"}), nullptr);
    EXPECT_FALSE(QFileInfo::exists(userFolder));

    window = Main({QString(), gameFolder});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ProgramState.ProgramFolder, userFolder);
    ProgramState.Presets = {Preset{"Caf\xe9", {1, 2, 4, 8, 16, 32, 64, 128, 3}}};
    ProgramState.Folders = {FolderEntry{gameFolder, true}};
    window->close();

    QByteArray presets, folders;
    ASSERT_TRUE(EncodePresets(ProgramState.Presets, &presets));
    ASSERT_TRUE(EncodeFolders(ProgramState.Folders, &folders));
    EXPECT_EQ(ReadFile(userFolder + "presets.dat"), presets);
    EXPECT_EQ(ReadFile(userFolder + "folders.dat"), folders);
    for (const char* name : {"presets.dat", "folders.dat"})
        EXPECT_FALSE(QFileInfo::exists(exeFolder + name)) << name;

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunCli({"kestrane-cli", "--game-dir", gameFolder, "presets"}, outStream, errStream),
              0);
    outStream.flush();
    EXPECT_EQ(out, QStringLiteral("Caf\u00e9\t1,2,4,8,16,32,64,128,3\n")) << err.toStdString();
}

} // namespace
