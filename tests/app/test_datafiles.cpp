// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestEnv.h"
#include "DataFiles.h"
#include "Startup.h"

TEST(DataFormats, BytesAsStoredWithSortsCutToOneByteAndOnlyFlagOneTrue)
{
    QByteArray out, again;
    ASSERT_TRUE(EncodePresets({}, &out));
    EXPECT_EQ(out, QByteArray(2, 0));
    ASSERT_TRUE(EncodePresets({{"Caf\xE9", {1, 2, 3, 255, 300, -1, 0, 7, 128}}, {"", {}}}, &out));
    EXPECT_EQ(out, QByteArray::fromHex("0002 04436166e9 010203ff2cff000780 00000000000000000000"));
    ASSERT_TRUE(EncodePresets(DecodePresets(out), &again)); // read back exactly
    EXPECT_EQ(again, out);

    const QByteArray utf8 = QStringLiteral("/\u00e9t\u00e9/").toUtf8();
    const QByteArray file =
        QByteArray::fromHex("0002 00012f02 00") + char(utf8.size()) + utf8 + '\1';
    const QList<FolderEntry> folders = DecodeFolders(file);
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[1].Path, QStringLiteral("/\u00e9t\u00e9/")); // UTF-8
    ASSERT_TRUE(EncodeFolders(folders, &again)); // the flag is in the bytes written back
    EXPECT_EQ(again, QByteArray(file).replace(5, 1, QByteArray(1, 0))); // 2 is written back as 0
}

TEST(DataFormats, DamagedFilesKeepTheWholeEntries)
{
    QByteArray presets, folders;
    ASSERT_TRUE(EncodePresets({{"One", {1}}, {"Two", {2}}, {"Three", {3}}}, &presets));
    ASSERT_TRUE(
        EncodeFolders({{QStringLiteral("/a/"), true}, {QStringLiteral("/bb/"), false}}, &folders));
    for (int cut :
         {1, 9, int(presets.size()) - (2 + 13 + 13)}) // in the sorts, after the name, before it
        EXPECT_EQ(DecodePresets(presets.chopped(cut)).size(), 2) << cut;
    for (int cut : {1, 4, 5, 6})
        EXPECT_EQ(DecodeFolders(folders.chopped(cut)).size(), 1) << cut;
    EXPECT_TRUE(DecodePresets(presets.left(1)).isEmpty());
    // A count above 32767 is refused whole; 32767 itself is read.
    EXPECT_TRUE(DecodePresets(QByteArray::fromHex("800000") + QByteArray(9, 1)).isEmpty());
    EXPECT_TRUE(DecodeFolders(QByteArray::fromHex("ffff00012f01")).isEmpty());
    ASSERT_TRUE(EncodePresets(QList<Preset>(32767), &presets));
    EXPECT_EQ(DecodePresets(presets).size(), 32767);
}

TEST(DataFormats, EncodersRefuseWhatTheLengthsCannotHold)
{
    QByteArray out = "untouched";
    QString error;
    const QString longest = QLatin1Char('/') + QString(65534, QLatin1Char('p'));
    EXPECT_TRUE(EncodePresets({{QByteArray(255, 'n'), {}}}, nullptr));
    EXPECT_TRUE(EncodeFolders({{longest, false}}, nullptr));
    EXPECT_FALSE(EncodePresets({{QByteArray(256, 'n'), {}}}, &out, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("255")));
    EXPECT_FALSE(EncodeFolders({{longest + QLatin1Char('/'), false}}, &out, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("65535")));
    EXPECT_FALSE(EncodeFolders({{QString(40000, QChar(0xE9)), false}}, &out)); // 80000 bytes
    EXPECT_FALSE(EncodePresets(QList<Preset>(32768), &out));
    const QList<FolderEntry> most(32767, {QStringLiteral("/f/"), false});
    EXPECT_TRUE(EncodeFolders(most, nullptr));
    EXPECT_FALSE(EncodeFolders(most + QList<FolderEntry>{most.first()}, &out));
    EXPECT_EQ(out, QByteArray("untouched"));
}

TEST(StateFiles, FailedSaveKeepsTheOldFileAndSaysWhich)
{
    StateGuard guard;
    QTemporaryDir dir;
    ProgramState.ProgramFolder = dir.path() + QLatin1Char('/');
    const auto read = [&](const char* name) { return ReadFile(dir.filePath(name)); };
    ProgramState.Presets = {{"Kept", {1}}};
    ProgramState.Folders = {{QStringLiteral("/old/"), true}};
    ASSERT_TRUE(SavePresets() && SaveFolders());
    const QByteArray presets = read("presets.dat"), folders = read("folders.dat");

    ProgramState.Presets.append({QByteArray(300, 'x'), {}}); // a name too long to store
    QString tooLong, partWay, blocked;                       // each failure says why
    EXPECT_TRUE(!SavePresets(&tooLong) && !tooLong.isEmpty());

    // A file size limit makes the write of the new, larger file fail part way.
    ProgramState.Folders = {{QLatin1Char('/') + QString(60000, QLatin1Char('n')), true}};
    EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return SaveFolders(&partWay); }));
    EXPECT_FALSE(partWay.isEmpty());

    EXPECT_EQ(read("presets.dat"), presets);
    EXPECT_EQ(read("folders.dat"), folders);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"folders.dat", "presets.dat"}));

    // A program folder below a plain file cannot hold files, even for root.
    ProgramState.ProgramFolder = dir.filePath(QStringLiteral("presets.dat/"));
    ProgramState.Presets = {{"New", {}}};
    EXPECT_TRUE(!SavePresets(&blocked) && !blocked.isEmpty());
}

TEST(Startup, VersionTextStoredStateOrTheDefaults)
{
    EXPECT_EQ(BuildVersionText(2, 5, 3), QStringLiteral("2.05.03"));
    EXPECT_EQ(BuildVersionText(1, 123, 0), QStringLiteral("1.23"));

    StateGuard guard;
    TempHome home;
    const QString game = home.dir.path() + "/The Sims", data = home.dir.path() + "/data";
    QDir().mkpath(game);
    QDir().mkpath(data);
    ProgramState.Presets = {{"stale", {}}};
    ASSERT_EQ(RunStartup({data, game}), StartupResult::Ready);
    EXPECT_EQ(ProgramState.ProgramFolder, data + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.GameFolder, game + QLatin1Char('/'));
    EXPECT_EQ(ProgramState.VersionText, QStringLiteral("1.00"));
    EXPECT_EQ(ProgramState.PresetCount(), 0);
    const auto listed = [] { // "+" after a folder walked with its subfolders
        QString out;
        for (const FolderEntry& folder : ProgramState.Folders)
            out += folder.Path + (folder.IncludeSubfolders ? "+ " : " ");
        return out;
    };
    EXPECT_EQ(listed().remove(game + '/'),
              "Downloads/+ GameData/Objects/ GameData/UserObjects/ ExpansionPack/ ExpansionPack2/ "
              "ExpansionPack3/ ExpansionPack4/ ExpansionPack5/ ExpansionPack6/ ExpansionPack7/ "
              "Deluxe/ ExpansionShared/ ");

    QByteArray presets, folders;
    ASSERT_TRUE(EncodePresets({{"Mine", {1}}}, &presets));
    ASSERT_TRUE(EncodeFolders({{QStringLiteral("/my/"), false}}, &folders));
    WriteFile(data + "/presets.dat", presets);
    WriteFile(data + "/folders.dat", folders);
    ASSERT_EQ(RunStartup({data + QLatin1Char('/'), game + QLatin1Char('/')}), StartupResult::Ready);
    EXPECT_EQ(ProgramState.GameFolder, game + QLatin1Char('/')); // no second slash
    EXPECT_EQ(ProgramState.PresetCount(), 1);
    EXPECT_EQ(listed(), "/my/ ");

    ProgramState.Folders.clear();
    for (const QString& missing : {game + "/missing", data + "/folders.dat", QString()})
        EXPECT_EQ(RunStartup({data, missing}), StartupResult::GameNotFound); // no Wine, no Steam
    EXPECT_EQ(ProgramState.FolderCount(), 0);
}
