// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers: conversions, Windows-1252, the busy cursor, paths, read-only, the trash.

#include "../app/AppTestEnv.h"
#include "ConvertError.h"
#include "Cp1252.h"
#include "ScriptedPrompt.h"
#include "Trash.h"
#include "modConvert.h"
#include "modGeneral.h"

#include <sys/stat.h>

namespace
{

QByteArray everyByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    return all;
}

mode_t ModeOf(const QString& path)
{
    struct stat st = {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}

void MakeFileWithMode(const QString& path, mode_t mode)
{
    MakeFile(path, "IFF bytes");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

TEST(Convert, NumbersBytesHexAndBinaryText)
{
    InitConvert();
    EXPECT_EQ(BytesToNum(QByteArray::fromHex("ff")), 255);
    EXPECT_EQ(BytesToNum(QByteArray::fromHex("ffff")), 65535); // signed only at four bytes
    EXPECT_EQ(BytesToNum(LongToBytes(-2)), -2);
    EXPECT_THROW(BytesToNum(QByteArray(5, '\0')), ConvertError);
    EXPECT_EQ(DigitsOnly(QString::fromUtf8("-1a٣2")), "-12"); // only ASCII digits, a leading minus
    EXPECT_EQ(HexToBytes(BytesToHex(everyByte()) + "fFA"), everyByte() + "\xff\x0a");
    EXPECT_EQ(SwapHexBytes(DecToHex(-2) + "1"), "1FEFFFFFF");
    // Four digits read as signed unless unsigned; five digits: no 16-bit reading.
    EXPECT_EQ(HexToDec("FFFF", false), "-1");
    EXPECT_EQ(HexToDec("FFFF", true), "65535");
    EXPECT_EQ(HexToDec("0FFFF", false), "65535");
    EXPECT_THROW(HexToDec("100000000", true), ConvertError);
    EXPECT_THROW(HexToDec("4G", true), ConvertError);
    EXPECT_EQ(DecToBin(5, 0) + DecToBin(0xFFFF, 20), "101" + QString(16, '1'));
    EXPECT_EQ(BinToHex("120001"), "1"); // a group that is not binary contributes nothing
    EXPECT_EQ(BinToHex("10100101") + BinToHex("11"), "A53");
    EXPECT_EQ(BinToDec("0000" + QString(32, '1')), -1);
}

TEST(Convert, BusyCursorNestsAndSurvivesAnUnmatchedEnd)
{
    static QList<bool> calls;
    ProgramState.BusyCount = 0;
    SetBusyCursorHook([](bool busy) { calls.append(busy); });
    // An unmatched end takes the count below 0; the next begin and end then keep the hourglass.
    for (void (*step)() : {BeginBusy, BeginBusy, EndBusy, EndBusy, EndBusy, BeginBusy, EndBusy})
        step();
    EXPECT_EQ(calls, QList<bool>({true, false, true}));
    SetBusyCursorHook(nullptr);
    ProgramState.BusyCount = 0;
}

TEST(Cp1252, EveryByteSurvivesARoundTripAndOtherCharactersAreRefused)
{
    const QString text = DecodeCp1252(everyByte());
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x81)); // undefined bytes stand for themselves
    EXPECT_EQ(EncodeCp1252(text), everyByte());
    // 0x80 and 0x9F as code points: their bytes stand for other characters.
    for (char16_t c : {u'\u0080', u'\u009F', u'\u0100', u'\u65E5'})
        EXPECT_FALSE(EncodeCp1252(QString(QChar(c))).has_value()) << int(c);
}

TEST(General, PathExistsSetReadOnlyAndIsNewFolder)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("chair.iff"), hidden = dir.filePath(".hidden.iff");
    MakeFileWithMode(file, 0444);
    MakeFile(hidden);
    ASSERT_TRUE(QFile::link(dir.filePath("none"), dir.filePath("dangling.iff")));
    // Folders are listable folders, files visible regular files (read-only still counts).
    for (const auto& [path, folder, exists] : {std::tuple{dir.path() + '/', true, true},
                                               {dir.filePath("missing/"), true, false},
                                               {file, true, false},
                                               {QString(), true, false},
                                               {file, false, true},
                                               {hidden, false, false},
                                               {dir.filePath("dangling.iff"), false, false},
                                               {dir.path(), false, false}})
        EXPECT_EQ(PathExists(path, folder), exists) << path.toStdString() << folder;

    // Read-only is the absence of write bits; set-group-id and the rest survive.
    MakeFileWithMode(file, 02776);
    SetReadOnly(file, true);
    EXPECT_EQ(ModeOf(file), mode_t(02554));
    SetReadOnly(file, false);
    EXPECT_EQ(ModeOf(file), mode_t(02754)); // only the owner gets write back

    StateGuard guard;
    ProgramState.Folders = {{"/g/D/", true}, {"/g/O/", false}};
    EXPECT_FALSE(IsNewFolder("/g/D/", -1));
    EXPECT_FALSE(IsNewFolder("/g/O/", 0));
    EXPECT_TRUE(IsNewFolder("/g/D/", 0));  // the ignored index is skipped
    EXPECT_TRUE(IsNewFolder("/g/d/", -1)); // letter case counts
}

TEST(General, RecycleFileAcceptedGoesToTheTrashDeclinedStaysWritable)
{
    TempHome home;
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const QString dl = home.home + "/Downloads/";
    const QString kept = dl + "kept.iff", sofa = dl + "sofa.iff", dangling = dl + "dangling.iff";
    ASSERT_TRUE(QDir().mkpath(dl));
    ASSERT_TRUE(QFile::link(dl + "absent.iff", dangling));
    // A link left at the path is not "gone", though no file is there.
    for (const auto& [path, accept, gone] :
         {std::tuple{kept, false, false}, {sofa, true, true}, {dangling, true, false}}) {
        if (path != dangling)
            MakeFileWithMode(path, 0444);
        prompt.queueTrash(accept);
        EXPECT_EQ(RecycleFile(path), gone) << path.toStdString();
    }
    EXPECT_EQ(ModeOf(kept), mode_t(0644));
    EXPECT_FALSE(QFileInfo::exists(sofa));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(ReadFile(home.dataHome + "/Trash/files/sofa.iff"), "IFF bytes");
    ASSERT_EQ(prompt.asked().size(), 3);
    EXPECT_EQ(prompt.asked()[1].text, sofa);
}

// Qt 6.4 takes the working folder for the trash when the data folder is missing, and calls
// that a success.
TEST(General, MoveToTrashMakesTheHomeTrashAndPutsBackAMoveThatMissesIt)
{
    QTemporaryDir dir;
    const QString work = dir.path() + "/work", sofa = dir.path() + "/dl/sofa.iff";
    ASSERT_TRUE(QDir().mkpath(work));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work));
    struct Back {
        QString path;
        ~Back() { QDir::setCurrent(path); }
    } back{before};
    EnvVarScope home("HOME", dir.path() + "/home");
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/home"));

    {
        EnvVarScope data("XDG_DATA_HOME", QString()); // no ~/.local/share at all
        MakeFile(sofa, "IFF bytes");
        QString error, trashed;
        ASSERT_TRUE(MoveToTrash(sofa, &error, &trashed)) << error.toStdString();
        const QString trash = dir.path() + "/home/.local/share/Trash";
        EXPECT_EQ(trashed, trash + "/files/sofa.iff");
        EXPECT_EQ(ReadFile(trashed), "IFF bytes");
        EXPECT_TRUE(QFileInfo::exists(trash + "/info/sofa.iff.trashinfo"));
        EXPECT_EQ(ModeOf(dir.path() + "/home/.local"), mode_t(0700));
    }
    {
        // A data folder that cannot be made (its parent is a file): the move lands in the
        // working folder, and is undone.
        MakeFile(dir.path() + "/blocker");
        EnvVarScope data("XDG_DATA_HOME", dir.path() + "/blocker/share");
        MakeFile(sofa, "other bytes");
        QString error, trashed;
        EXPECT_FALSE(MoveToTrash(sofa, &error, &trashed));
        EXPECT_TRUE(error.contains("not a trash folder")) << error.toStdString();
        EXPECT_TRUE(error.contains("put back")) << error.toStdString();
        EXPECT_TRUE(trashed.isEmpty());
        EXPECT_EQ(ReadFile(sofa), "other bytes");
        EXPECT_EQ(QDir(work + "/files").entryList(QDir::Files), QStringList());
        EXPECT_EQ(QDir(work + "/info").entryList(QDir::Files), QStringList());
    }
}
