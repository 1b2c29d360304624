// Where the data files live (given, portable or per-user folder), shared by window and CLI.
#include "CliCommands.h"
#include "MainWindowHarness.h"
#include "Startup.h"
#include "modMain.h"

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
        userFolder = qEnvironmentVariable("XDG_DATA_HOME") + "/Kestrane/"; // set by the harness
    }
    QString userFolder;
};

TEST_F(DataFolderTest, GivenFolderThenPortableCopyThenUserFolder)
{
    // The files made (exe: beside the program; next: the window's second portable folder),
    // the --data-dir given, and the folder chosen.
    const char* cases[][3] = {
        {"", "", "user"},
        {"exe/presets.dat", "", "exe"},
        {"exe/folders.dat", "", "exe"},
        {"next/presets.dat", "", "next"},
        {"exe/folders.dat next/presets.dat", "", "exe"},
        {"exe/presets.bak", "", "user"}, // no data file
        {"exe/presets.dat next/folders.dat", "given", "given"},
    };
    for (const auto& c : cases) {
        const QString base = dataFolder + QString::number(&c - cases) + "/";
        for (const QString& file : QString(c[0]).split(' ', Qt::SkipEmptyParts)) {
            QDir().mkpath(QFileInfo(base + file).path());
            WriteFile(base + file, QByteArray(2, 0));
        }
        const QString given = *c[1] ? base + c[1] : QString();
        const QString chosen = *c[2] == 'u' ? userFolder : base + c[2] + "/";
        EXPECT_EQ(ChooseDataFolder(given, {base + "exe/", base + "next/"}), chosen) << c[0];
    }
    EXPECT_FALSE(QFileInfo::exists(userFolder)) << "choosing creates nothing";
}

TEST_F(DataFolderTest, ClosingTheWindowWritesTheUserFolderWhichTheCliReads)
{
    // Without the game: told, and nothing written, not even the folder.
    EXPECT_EQ(Main({QString(), gameFolder + "missing"}), nullptr);
    EXPECT_EQ(Questions(prompt), QStringList{Question("The Sims directory could not be found.",
                                                      PromptIcon::None, PromptButtons::Ok, "")});
    EXPECT_FALSE(QFileInfo::exists(userFolder));

    window = Main({QString(), gameFolder});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ProgramState.ProgramFolder, userFolder);
    ProgramState.Presets = {Preset{"Caf\xe9", {1, 2, 4, 8, 16, 32, 64, 128, 3}}};
    ProgramState.Folders = {FolderEntry{gameFolder, true}};
    window->close();

    EXPECT_TRUE(QFileInfo::exists(userFolder + "folders.dat"));
    ProgramState.Presets.clear(); // the CLI reads them back from the user folder

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunCli({"kestrane-cli", "--game-dir", gameFolder, "presets"}, outStream, errStream),
              0);
    outStream.flush();
    EXPECT_EQ(out, QStringLiteral("Caf\u00e9\t1,2,4,8,16,32,64,128,3\n")) << err.toStdString();
}

} // namespace
