// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestEnv.h"
#include "IffBytes.h"
#include "LotScan.h"
#include "Neighbourhoods.h"

TEST(Lots, NeighbourhoodsOfTheGameFolderOrOfTheReReleasesSavedCopies)
{
    TempHome tmp;
    const QString root = tmp.dir.path() + "/t/";
    const QString legacy = "wine/drive_c/Program Files/EA Games/The Sims Legacy",
                  steam = "lib/steamapps/common/The Sims Legacy Collection",
                  proton = "lib/steamapps/compatdata/3314060/pfx/drive_c/users/",
                  saved = "/Saved Games/Electronic Arts/The Sims 25/";
    struct Case {
        QString game;
        QStringList made, expected;
    };
    const Case cases[] = {
        {"plain",
         {"plain/UserData", "plain/userdata3", "plain/UserData9", "plain/UserDataX"},
         {"plain/UserData", "plain/userdata3"}},
        // Never started: the game folder's own; started: only the copies, every user's.
        {legacy, {legacy + "/UserData", "wine/drive_c/users/me/Documents"}, {legacy + "/UserData"}},
        {legacy,
         {legacy + "/UserData", "wine/drive_c/users/me" + saved + "UserData2",
          "wine/drive_c/users/ann" + saved + "UserData"},
         {"wine/drive_c/users/ann" + saved + "UserData",
          "wine/drive_c/users/me" + saved + "UserData2"}},
        {steam,
         {steam + "/UserData",
          proton + "steamuser/saved games/electronic arts/the sims 25/UserData"},
         {proton + "steamuser/saved games/electronic arts/the sims 25/UserData"}},
        {"missing", {}, {}},
    };
    for (const Case& c : cases) {
        QDir(root).removeRecursively();
        for (const QString& folder : c.made + QStringList(c.game + "/GameData"))
            ASSERT_TRUE(QDir().mkpath(root + folder));
        QStringList expected;
        for (const QString& folder : c.expected)
            expected << root + folder;
        EXPECT_EQ(FindNeighbourhoods(c.game == "missing" ? QString() : root + c.game), expected)
            << c.game.toStdString();
    }
}

TEST(Lots, ScanReadsHouseFilesAndSkipsDamagedOnes)
{
    TempHome tmp;
    const QString hood = tmp.dir.filePath("UserData");
    MakeFile(hood + "/Houses/House02.iff", LotFile({7, 8, 7}, 3));
    MakeFile(hood + "/Houses/house01.IFF", LotFile({8}));
    MakeFile(hood + "/Houses/House03.iff", LotFile({9}).left(90));
    MakeFile(hood + "/Houses/Neighborhood.iff", LotFile({10}));
    const LotScan scan = ScanLots({hood, tmp.dir.filePath("none")});
    ASSERT_EQ(scan.lots.size(), 2);
    EXPECT_EQ(scan.lots[0].file, hood + "/Houses/house01.IFF");
    EXPECT_EQ(scan.lots[1].guids, QList<quint32>({7, 8}));
    EXPECT_TRUE(scan.lots[1].name.isNull());
    EXPECT_EQ(scan.lotsUsing(8), QList<int>({0, 1}));
    ASSERT_EQ(scan.problems.size(), 1);
    EXPECT_EQ(scan.problems[0].file, hood + "/Houses/House03.iff");
}
