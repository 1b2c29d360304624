// A whole run through the real windows: presets and folders made in the windows, written by
// closing the main window, and found as they were left at the next start.

#include "MainWindowHarness.h"
#include "Startup.h"
#include "frmAddFolder.h"
#include "frmEditFolder.h"
#include "frmFolders.h"
#include "frmPresets.h"

namespace
{

// folders.dat: a big-endian count, then per entry a big-endian length, path bytes, a flag.
QByteArray FoldersFile(const QList<FolderEntry>& folders)
{
    const auto be16 = [](int value) {
        return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
    };
    QByteArray bytes = be16(folders.size());
    for (const FolderEntry& entry : folders) {
        const QByteArray path = QFile::encodeName(entry.Path);
        bytes += be16(path.size()) + path + char(entry.IncludeSubfolders ? 1 : 0);
    }
    return bytes;
}

class WholeRun : public MainWindowHarness
{
protected:
    void Start()
    {
        ProgramState.Presets.clear();
        ProgramState.Folders.clear();
        ASSERT_EQ(RunStartup(StartupOptions{dataFolder, gameFolder}), StartupResult::Ready);
        openWindow();
    }

    // Closing writes the data files without asking anything.
    void Stop()
    {
        prompt.clearAsked();
        window->close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(prompt.asked().isEmpty());
    }

    // Opens Modify Folders from the main window and runs act in it; closes it with OK.
    void InFolderWindow(std::function<void(frmFolders*)> act)
    {
        auto ran = WhenModalOpens<frmFolders>([act](frmFolders* folders) {
            act(folders);
            QTest::mouseClick(folders->cmdOk, Qt::LeftButton);
        });
        QTest::mouseClick(window->cmdBrowse, Qt::LeftButton);
        EXPECT_TRUE(*ran);
    }
};

TEST_F(WholeRun, PresetsAndFoldersSurviveARestartByteForByte)
{
    ASSERT_TRUE(QDir(gameFolder).mkpath("Downloads"));
    ASSERT_TRUE(QDir(gameFolder).mkpath("Extra"));
    writeFile("Downloads/chair.iff",
              object(CatalogFixture(), 128, "Chair", "Sit down", 120, {1, 1, 1, 0, 0, 0, 0, 0, 1}));

    // First start: no data files, so the default folders.
    Start();
    const QList<FolderEntry> defaults = ProgramState.Folders;
    ASSERT_EQ(defaults.size(), 12);
    ASSERT_EQ(window->CurrentObject, 128) << "the object in Downloads is shown";

    prompt.queueInput("Chairs");
    QTest::mouseClick(window->cmdPresetNew, Qt::LeftButton);

    prompt.queueInput(QStringLiteral("Caf\u00e9"));
    auto ran = WhenModalOpens<frmPresets>([](frmPresets* editor) {
        QTest::mouseClick(editor->cmdNew, Qt::LeftButton);
        ClickCheckBox(editor->lstSort[0], RowByText(editor->lstSort[0], "Lighting"));
        ClickRow(editor->lstSort[8], RowByText(editor->lstSort[8], "Pool"));
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdPresetEdit, Qt::LeftButton);
    EXPECT_TRUE(*ran);

    // Folders: remove the second default, add Extra with its subfolders, and take the
    // subfolders off Downloads.
    const QString extra = gameFolder + "Extra/";
    prompt.queueAnswer(PromptAnswer::Yes);
    InFolderWindow([&](frmFolders* folders) {
        ClickRow(folders->lstFolders, folders->lstFolders->topLevelItem(1));
        QTest::mouseClick(folders->cmdRemove, Qt::LeftButton);
        WhenModalOpens<frmAddFolder>([&](frmAddFolder* add) {
            QTest::keyClicks(add->txtFolder, gameFolder + "Extra");
            add->chkSubfolders->setChecked(true);
            QTest::mouseClick(add->cmdOk, Qt::LeftButton);
        });
        QTest::mouseClick(folders->cmdAdd, Qt::LeftButton);
        ClickRow(folders->lstFolders, folders->lstFolders->topLevelItem(0));
        WhenModalOpens<frmEditFolder>([](frmEditFolder* edit) {
            edit->chkSubfolders->setChecked(false);
            QTest::mouseClick(edit->cmdOk, Qt::LeftButton);
        });
        QTest::mouseClick(folders->cmdEdit, Qt::LeftButton);
    });
    // Downloads lost its subfolders but still holds the file itself.
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 1);
    Stop();

    QList<FolderEntry> expectedFolders = defaults;
    expectedFolders.removeAt(1);
    expectedFolders[0].IncludeSubfolders = false;
    expectedFolders.append(FolderEntry{extra, true});
    // Count 2, then "Chairs" and "Café", each with its length byte and nine sort bytes.
    const QByteArray expectedPresets =
        QByteArray::fromHex("00020643686169727301010100000000000104436166E9800000000000000007");
    EXPECT_EQ(bytesOf(dataFolder + "presets.dat").toHex(), expectedPresets.toHex());
    EXPECT_EQ(bytesOf(dataFolder + "folders.dat"), FoldersFile(expectedFolders));

    // Second start: everything as left.
    Start();
    EXPECT_EQ(RowTexts(window->lstPresets), QStringList({"Chairs", QStringLiteral("Caf\u00e9")}));
    ASSERT_EQ(ProgramState.PresetCount(), 2);
    EXPECT_EQ(ProgramState.Presets[1].Sorts, (SortSet{128, 0, 0, 0, 0, 0, 0, 0, 7}));
    EXPECT_EQ(ProgramState.Folders, expectedFolders);

    // Remove every folder: the file says so, and the next start brings the defaults back.
    for (int i = 0; i < 12; ++i)
        prompt.queueAnswer(PromptAnswer::Yes);
    InFolderWindow([](frmFolders* folders) {
        for (int i = 0; i < 12; ++i)
            QTest::mouseClick(folders->cmdRemove, Qt::LeftButton);
        EXPECT_EQ(folders->lstFolders->topLevelItemCount(), 0);
    });
    EXPECT_EQ(window->lstFiles->topLevelItemCount(), 0);
    Stop();
    EXPECT_EQ(bytesOf(dataFolder + "folders.dat").toHex(), "0000");
    EXPECT_EQ(bytesOf(dataFolder + "presets.dat").toHex(), expectedPresets.toHex());

    Start();
    EXPECT_EQ(ProgramState.Folders, defaults);
    EXPECT_EQ(window->CurrentObject, 128);
}

TEST_F(WholeRun, LookingThroughRealWorldFilesChangesNothingAndAsksNothing)
{
    // Catalog text as downloaded files have it, and sort values no row can show: Function 0
    // with Sub-Function 4, Seating with Sub-Function 32, several Function bits, Downtown 17,
    // Build Modes 9 and 300; Disabled 2.
    const QByteArray names[] = {"Caf\xE9\xA0"
                                "Chair",
                                "Line\r\nBreak", "Lone\rCR", "Bare\nLF"};
    const QByteArray descriptions[] = {"Sit.\r\nRest\xA0well.\r\n", "\x93Quoted\x94\rnext",
                                       "a\n\nb\r\n\xA0", "\r\n"};
    const SortSet sorts[] = {{0, 4, 0, 0, 0, 0, 0, 0, 9},
                             {1, 32, 1, 17, 0, 0, 0, 0, 300},
                             {3, 7, 0, 0, 0, 0, 0, 0, 2},
                             {64, 127, 0, 0, 0, 0, 0, 0, 0}};
    QStringList paths;
    QList<QByteArray> before;
    for (int file = 0; file < 2; ++file) {
        CatalogFixture fixture;
        for (int i = 0; i < 4; ++i) {
            const int id = 128 + i;
            ObjdSpec definition = CatalogObject(id, quint16(50 * i));
            definition.sorts = sorts[(i + file) % 4];
            definition.disabled = quint16(i == 1 ? 2 : i % 2);
            fixture.objd(id, "objd", definition)
                .ctss(id, MakeCatalogCtss(names[(i + file) % 4], descriptions[i]));
        }
        if (file == 1) {
            // Catalog text a save cannot store: another string-list format, and one string
            // (a name longer than a line box holds by default).
            fixture.objd(140, "objd", CatalogObject(140, 1))
                .ctss(140, QByteArray("\xFF\xFF\x02\x00"
                                      "Fmt\r\n\0Other\0",
                                      16))
                .objd(141, "objd", CatalogObject(141, 1))
                .ctss(141, MakeCtssBody({{1, "Solo\xA0" + QByteArray(40000, 'n'), ""}}));
        }
        paths << writeFile(QStringLiteral("real%1.iff").arg(file), fixture);
        before << bytesOf(paths.last());
    }

    for (const bool autoSave : {false, true}) {
        int readOnlyBoxes = 0;
        openWindow();
        window->chkAutoSave->setChecked(autoSave);
        for (const QString& name : {"real0.iff", "real1.iff"}) {
            ClickRow(window->lstFiles, fileRow(name));
            for (int i = 0; i < window->lstObjects->topLevelItemCount(); ++i) {
                ClickRow(window->lstObjects, window->lstObjects->topLevelItem(i));
                // A box whose text cannot be saved takes no typing and says why.
                for (QWidget* box : {static_cast<QWidget*>(window->txtName),
                                     static_cast<QWidget*>(window->txtDescript)}) {
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
        EXPECT_FALSE(window->isVisible()) << autoSave;
        EXPECT_TRUE(prompt.asked().isEmpty()) << autoSave;
        EXPECT_GE(readOnlyBoxes, 2) << "both boxes of the 0xFFFF text";
        for (int file = 0; file < 2; ++file)
            EXPECT_EQ(bytesOf(paths[file]), before[file]) << autoSave << file;
    }
}

} // namespace
