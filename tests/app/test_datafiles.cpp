#include "AppTestEnv.h"
#include "DataFiles.h"
#include "ProgramState.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

Preset MakePreset(const QByteArray& name, SortSet sorts)
{
    Preset p;
    p.Name = name;
    p.Sorts = sorts;
    return p;
}

// A data folder for the state files, set as ProgramFolder for the test.
class DataFolder
{
public:
    DataFolder() { ProgramState.ProgramFolder = m_dir.path() + QLatin1Char('/'); }
    QString file(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private:
    StateGuard m_guard;
    QTemporaryDir m_dir;
};

} // namespace

TEST(PresetsFormat, EmptyListIsTwoZeroBytes)
{
    QByteArray out;
    ASSERT_TRUE(EncodePresets({}, &out));
    EXPECT_EQ(out, Bytes({0, 0}));
    EXPECT_TRUE(DecodePresets(out).isEmpty());
}

TEST(PresetsFormat, EntriesAreLengthNameAndNineLowBytes)
{
    const QList<Preset> presets = {MakePreset("Caf\xE9", {1, 2, 3, 255, 300, -1, 0, 7, 128}),
                                   MakePreset("", {0, 0, 0, 0, 0, 0, 0, 0, 9})};
    QByteArray out;
    ASSERT_TRUE(EncodePresets(presets, &out));
    EXPECT_EQ(out, Bytes({0, 2, 4, 'C', 'a', 'f', 0xE9, 1, 2, 3, 255, 44, 255, 0, 7, 128, //
                          0, 0, 0, 0,   0,   0,   0,    0, 0, 9}));

    const QList<Preset> back = DecodePresets(out);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0].Name, QByteArray("Caf\xE9"));
    EXPECT_EQ(back[0].Sorts, (SortSet{1, 2, 3, 255, 44, 255, 0, 7, 128})); // 300 -> 44
    EXPECT_TRUE(back[1].Name.isEmpty());
    EXPECT_EQ(back[1].Sorts[8], 9);
}

TEST(FoldersFormat, OneFolderWithSubfoldersIsSixteenBytes)
{
    const QList<FolderEntry> folders = {{QStringLiteral("C:\\Objects\\"), true}};
    QByteArray out;
    ASSERT_TRUE(EncodeFolders(folders, &out));
    EXPECT_EQ(out, Bytes({0x00, 0x01, 0x00, 0x0B, 0x43, 0x3A, 0x5C, 0x4F, 0x62, 0x6A, 0x65, 0x63,
                          0x74, 0x73, 0x5C, 0x01}));
    const QList<FolderEntry> back = DecodeFolders(out);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].Path, folders[0].Path);
    EXPECT_TRUE(back[0].IncludeSubfolders);
}

TEST(FoldersFormat, OnlyFlagOneMeansSubfoldersAndPathsKeepTheirBytes)
{
    const QByteArray utf8Path = QStringLiteral("/home/me/Objets \u00e9t\u00e9/").toUtf8();
    QByteArray file = Bytes({0, 3});
    file += Bytes({0, 3}) + "/a/" + Bytes({2});
    file += Bytes({0, 3}) + "/b/" + Bytes({1});
    file += Bytes({0, int(utf8Path.size())}) + utf8Path + Bytes({0});
    const QList<FolderEntry> folders = DecodeFolders(file);
    ASSERT_EQ(folders.size(), 3);
    EXPECT_FALSE(folders[0].IncludeSubfolders); // 2 is not true
    EXPECT_TRUE(folders[1].IncludeSubfolders);
    EXPECT_EQ(folders[2].Path, QStringLiteral("/home/me/Objets \u00e9t\u00e9/"));

    QByteArray again;
    ASSERT_TRUE(EncodeFolders(folders, &again));
    QByteArray expected = file;
    expected[2 + 2 + 3] = 0; // the flag 2 is written back as 0
    EXPECT_EQ(again, expected);
}

TEST(DamagedFiles, TruncatedPresetsKeepTheWholeEntries)
{
    QByteArray whole;
    ASSERT_TRUE(EncodePresets({MakePreset("One", {1, 1, 1, 1, 1, 1, 1, 1, 1}),
                               MakePreset("Two", {2, 2, 2, 2, 2, 2, 2, 2, 2}),
                               MakePreset("Three", {3, 3, 3, 3, 3, 3, 3, 3, 3})},
                              &whole));
    // Cut inside the third entry's sorts, at its name, and right after the second entry.
    for (int cut : {int(whole.size()) - 1, int(whole.size()) - 9, 2 + 13 + 13}) {
        const QList<Preset> presets = DecodePresets(whole.left(cut));
        ASSERT_EQ(presets.size(), 2) << cut;
        EXPECT_EQ(presets[1].Name, QByteArray("Two"));
        EXPECT_EQ(presets[1].Sorts[8], 2);
    }
    EXPECT_TRUE(DecodePresets(whole.left(1)).isEmpty());
    EXPECT_TRUE(DecodePresets(QByteArray()).isEmpty());
}

TEST(DamagedFiles, TruncatedFoldersKeepTheWholeEntries)
{
    QByteArray whole;
    ASSERT_TRUE(
        EncodeFolders({{QStringLiteral("/a/"), true}, {QStringLiteral("/bb/"), false}}, &whole));
    EXPECT_EQ(DecodeFolders(whole.left(whole.size() - 1)).size(), 1); // flag missing
    EXPECT_EQ(DecodeFolders(whole.left(2 + 6 + 1)).size(), 1);        // half a length field
    EXPECT_EQ(DecodeFolders(whole.left(2 + 6 + 2)).size(), 1);        // length, no path
    EXPECT_EQ(DecodeFolders(whole).size(), 2);
}

TEST(DamagedFiles, CountAbove32767IsRefusedWhole)
{
    QByteArray presets = Bytes({0x80, 0x00, 0}) + QByteArray(9, 1);
    EXPECT_TRUE(DecodePresets(presets).isEmpty());
    QByteArray folders = Bytes({0xFF, 0xFF, 0, 1, '/', 1});
    EXPECT_TRUE(DecodeFolders(folders).isEmpty());
}

TEST(DamagedFiles, LargestCountIsRead)
{
    QList<Preset> many(32767);
    QByteArray bytes;
    ASSERT_TRUE(EncodePresets(many, &bytes));
    EXPECT_EQ(bytes.left(2), Bytes({0x7F, 0xFF}));
    EXPECT_EQ(DecodePresets(bytes).size(), 32767);

    many.append(Preset{});
    QString error;
    EXPECT_FALSE(EncodePresets(many, &bytes, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Encoders, RefuseNamesAndPathsTheLengthCannotHold)
{
    QByteArray out = "untouched";
    QString error;
    ASSERT_TRUE(EncodePresets({MakePreset(QByteArray(255, 'n'), {})}, &out, &error));
    EXPECT_EQ(out.size(), 2 + 1 + 255 + 9);
    EXPECT_EQ(quint8(out[2]), 255);

    out = "untouched";
    EXPECT_FALSE(EncodePresets({MakePreset(QByteArray(256, 'n'), {})}, &out, &error));
    EXPECT_EQ(out, QByteArray("untouched"));
    EXPECT_TRUE(error.contains(QStringLiteral("255")));

    const QString longest = QLatin1Char('/') + QString(65534, QLatin1Char('p'));
    ASSERT_TRUE(EncodeFolders({{longest, false}}, &out, &error));
    EXPECT_EQ(out.mid(2, 2), Bytes({0xFF, 0xFF}));
    EXPECT_EQ(out.size(), 2 + 2 + 65535 + 1);

    out = "untouched";
    error.clear();
    EXPECT_FALSE(EncodeFolders({{longest + QLatin1Char('/'), false}}, &out, &error));
    EXPECT_EQ(out, QByteArray("untouched"));
    EXPECT_TRUE(error.contains(QStringLiteral("65535")));

    // The limit is on bytes: 40000 two-byte characters are 80000 bytes.
    EXPECT_FALSE(EncodeFolders({{QString(40000, QChar(0xE9)), false}}, &out, &error));
}

TEST(StateFiles, SaveAndLoadKeepOrderAndContent)
{
    DataFolder data;
    ProgramState.Presets = {MakePreset("Zed", {5, 4, 3, 2, 1, 0, 0, 0, 0}),
                            MakePreset("Alpha", {1, 0, 0, 0, 0, 0, 0, 0, 0})};
    ProgramState.Folders = {{QStringLiteral("/z/"), false}, {QStringLiteral("/a/"), true}};
    QString error;
    ASSERT_TRUE(SavePresets(&error)) << error.toStdString();
    ASSERT_TRUE(SaveFolders(&error)) << error.toStdString();

    ProgramState.Presets.clear();
    ProgramState.Folders.clear();
    LoadPresets();
    LoadFolders();
    ASSERT_EQ(ProgramState.PresetCount(), 2);
    EXPECT_EQ(ProgramState.Presets[0].Name, QByteArray("Zed"));
    EXPECT_EQ(ProgramState.Presets[0].Sorts[0], 5);
    EXPECT_EQ(ProgramState.Presets[1].Name, QByteArray("Alpha"));
    ASSERT_EQ(ProgramState.FolderCount(), 2);
    EXPECT_EQ(ProgramState.Folders[0].Path, QStringLiteral("/z/"));
    EXPECT_TRUE(ProgramState.Folders[1].IncludeSubfolders);
    // Nothing but the two files is left behind.
    EXPECT_EQ(QDir(ProgramState.ProgramFolder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("folders.dat"), QStringLiteral("presets.dat")}));
}

TEST(StateFiles, MissingFilesGiveEmptyLists)
{
    DataFolder data;
    ProgramState.Presets = {MakePreset("stale", {})};
    ProgramState.Folders = {{QStringLiteral("/stale/"), false}};
    LoadPresets();
    LoadFolders();
    EXPECT_EQ(ProgramState.PresetCount(), 0);
    EXPECT_EQ(ProgramState.FolderCount(), 0);
}

TEST(StateFiles, ZeroFoldersAreWrittenAsTwoZeroBytes)
{
    DataFolder data;
    ProgramState.Folders.clear();
    ASSERT_TRUE(SaveFolders());
    EXPECT_EQ(ReadFile(data.file("folders.dat")), Bytes({0, 0}));
}

TEST(StateFiles, RefusedEntryKeepsTheOldFile)
{
    DataFolder data;
    ProgramState.Presets = {MakePreset("Kept", {1, 2, 3, 4, 5, 6, 7, 8, 9})};
    ASSERT_TRUE(SavePresets());
    const QByteArray before = ReadFile(data.file("presets.dat"));

    ProgramState.Presets.append(MakePreset(QByteArray(300, 'x'), {}));
    QString error;
    EXPECT_FALSE(SavePresets(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFile(data.file("presets.dat")), before);
}

TEST(StateFiles, UnwritableFolderIsReportedWithTheFileName)
{
    StateGuard guard;
    QTemporaryDir dir;
    MakeFile(dir.filePath(QStringLiteral("plain-file")));
    // A folder path whose parent is a regular file cannot hold files, even for root.
    ProgramState.ProgramFolder = dir.filePath(QStringLiteral("plain-file")) + QLatin1Char('/');
    QString error;
    EXPECT_FALSE(SavePresets(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("presets.dat"))) << error.toStdString();
    error.clear();
    EXPECT_FALSE(SaveFolders(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("folders.dat"))) << error.toStdString();
}

TEST(StateFiles, WriteFailingHalfwayKeepsTheOldFile)
{
    DataFolder data;
    ProgramState.Folders = {{QStringLiteral("/old/"), true}};
    ASSERT_TRUE(SaveFolders());
    const QByteArray before = ReadFile(data.file("folders.dat"));

    // A file size limit makes the write of the new, larger file fail part way (EFBIG).
    ProgramState.Folders = {{QLatin1Char('/') + QString(60000, QLatin1Char('n')), true}};
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved_ok = SaveFolders(&error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_TRUE(error.contains(QStringLiteral("folders.dat"))) << error.toStdString();
    EXPECT_EQ(ReadFile(data.file("folders.dat")), before);
    EXPECT_EQ(QDir(ProgramState.ProgramFolder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("folders.dat")});
}
