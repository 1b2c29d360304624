// SPDX-License-Identifier: GPL-3.0-or-later
// A whole run: the data files' folder, written at exit, read at the next start and by the CLI;
// real-world files unchanged.
#include "CliCommands.h"
#include "MainWindowHarness.h"
#include "Startup.h"
#include "modMain.h"

#include <QTextStream>

namespace
{

class WholeRun : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        SetProgramName();
    }
    void Start()
    {
        ProgramState.Presets.clear();
        ProgramState.Folders.clear();
        window = Main({QString(), gameFolder});
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    const QString userFolder = qEnvironmentVariable("XDG_DATA_HOME") + "/Kestrane/";
};

TEST_F(WholeRun, DataFolderIsTheGivenOneThenAPortableCopyThenTheUserFolder)
{
    // Files made (exe: beside the program; next: second portable folder), --data-dir, chosen.
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
        for (const QString& file : QString(c[0]).split(' ', Qt::SkipEmptyParts))
            MakeFile(base + file, QByteArray(2, 0));
        const QString given = *c[1] ? base + c[1] : QString();
        const QString chosen = *c[2] == 'u' ? userFolder : base + c[2] + "/";
        EXPECT_EQ(ChooseDataFolder(given, {base + "exe/", base + "next/"}), chosen) << c[0];
    }
    EXPECT_FALSE(QFileInfo::exists(userFolder)) << "choosing creates nothing";
}

TEST_F(WholeRun, PresetsAndFoldersSurviveARestartByteForByteAndTheCliReadsThem)
{
    // Without the game: told, and nothing written, not even the folder.
    EXPECT_EQ(Main({QString(), gameFolder + "missing"}), nullptr);
    EXPECT_EQ(Questions(prompt), QStringList{Question("The Sims directory could not be found.",
                                                      PromptIcon::None, PromptButtons::Ok, "")});
    EXPECT_FALSE(QFileInfo::exists(userFolder));

    MakeFile(gameFolder + "Downloads/chair.iff",
             object({}, 128, "Chair", "", 1, {1, 1, 1, 0, 0, 0, 0, 0, 1}).fileBytes());
    // First start: no data files, so the user folder; the default folders find the chair.
    Start();
    prompt.queueInput(QStringLiteral("Caf\u00e9"));
    QTest::mouseClick(window->cmdPresetNew, Qt::LeftButton);
    // A folder list of its own: a count, then per entry a length, the path, a flag (big-endian).
    const QList<FolderEntry> folders{{gameFolder + "Downloads/", true}};
    ProgramState.Folders = folders;
    prompt.clearAsked();
    window->close(); // writes the data files without asking anything
    EXPECT_TRUE(!window->isVisible() && prompt.asked().isEmpty());
    const QByteArray downloads = QFile::encodeName(folders[0].Path);
    EXPECT_EQ(ReadFile(userFolder + "folders.dat"),
              QByteArray::fromHex("000100") + char(downloads.size()) + downloads + '\1');
    // Count 1, then "Café" with its length byte and nine sort bytes.
    EXPECT_EQ(ReadFile(userFolder + "presets.dat").toHex(), "000104436166e9010101000000000001");

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunCli({"kestrane-cli", "--game-dir", gameFolder, "presets"}, outStream, errStream),
              0);
    outStream.flush();
    EXPECT_EQ(out, QStringLiteral("Caf\u00e9\t1,1,1,0,0,0,0,0,1\n")) << err.toStdString();

    // Second start: everything as left.
    Start();
    EXPECT_EQ(Rows(window->lstPresets), QStringList{QStringLiteral("Caf\u00e9")});
    EXPECT_EQ(ProgramState.Folders, folders);
}

TEST_F(WholeRun, LookingThroughRealWorldFilesChangesNothingAndAsksNothing)
{
    // Catalog text as downloaded files have it; sort values no row shows (Function 0 with
    // Sub-Function 4, Seating 32, Function bits, Downtown 17, Build Modes 9, 300); Disabled 2.
    const QByteArray names[] = {QByteArray("Caf\xE9\xA0") + "Chair", "Line\r\nBreak", "Lone\rCR",
                                "Bare\nLF"};
    const QByteArray descriptions[] = {"Sit.\r\nRest\xA0well.\r\n", "\x93Quoted\x94\rnext",
                                       "a\n\nb\r\n\xA0", "\r\n"};
    const SortSet sorts[] = {{0, 4, 0, 0, 0, 0, 0, 0, 9},
                             {1, 32, 1, 17, 0, 0, 0, 0, 300},
                             {3, 7, 0, 0, 0, 0, 0, 0, 2},
                             {64, 127, 0, 0, 0, 0, 0, 0, 0}};
    QByteArray before;
    for (int file = 0; file < 2; ++file) {
        CatalogFixture fixture;
        for (int i = 0; i < 4; ++i) {
            ObjdSpec definition = CatalogObject(128 + i, quint16(50 * i));
            definition.sorts = sorts[(i + file) % 4];
            definition.disabled = quint16(i == 1 ? 2 : i % 2);
            fixture.objd(128 + i, "objd", definition)
                .ctss(128 + i, MakeCatalogCtss(names[(i + file) % 4], descriptions[i]));
        }
        // Text a save cannot store: another string-list format; one string, longer than a line.
        if (file == 1) {
            fixture.objd(140, "objd", CatalogObject(140, 1))
                .ctss(140, QByteArray("\xFF\xFF\x02\x00"
                                      "Fmt\r\n\0Other\0",
                                      16))
                .objd(141, "objd", CatalogObject(141, 1))
                .ctss(141, MakeCtssBody({{1, "Solo\xA0" + QByteArray(40000, 'n'), ""}}));
        }
        before += ReadFile(writeFile(QStringLiteral("real%1.iff").arg(file), fixture));
    }

    // Auto-Save off: anything taken for a change would be asked about.
    int readOnlyBoxes = 0;
    openWindow();
    for (const QString& name : {"real0.iff", "real1.iff"}) {
        ClickRow(window->lstFiles, fileRow(name));
        for (int i = 0; i < window->lstObjects->topLevelItemCount(); ++i) {
            ClickRow(window->lstObjects, window->lstObjects->topLevelItem(i));
            // A box whose text cannot be saved takes no typing and says why.
            for (QWidget* box : {(QWidget*)window->txtName, (QWidget*)window->txtDescript}) {
                if (!box->isEnabled() || !box->property("readOnly").toBool())
                    continue;
                ++readOnlyBoxes;
                EXPECT_FALSE(box->toolTip().isEmpty());
                QTest::keyClicks(box, "x");
            }
        }
    }
    ClickRow(window->lstFiles, fileRow("real0.iff"));
    window->cmdExit->click();
    EXPECT_TRUE(!window->isVisible() && prompt.asked().isEmpty());
    EXPECT_GE(readOnlyBoxes, 2) << "both boxes of the 0xFFFF text";
    EXPECT_EQ(ReadFile(gameFolder + "real0.iff") + ReadFile(gameFolder + "real1.iff"), before);
}

} // namespace
