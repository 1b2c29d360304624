// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogTypes.h"
#include "CliTestSupport.h"
#include "FarArchive.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{

class CliCollection : public CliTest
{
protected:
    void SetUp() override
    {
        ObjdSpec sofa{9, 0, 0, 300, 7, 0xABCDEF01};
        MakeFile(game + "/Downloads/a.iff", CatalogFileBytes());
        MakeFile(game + "/Downloads/sub/b.iff",
                 CatalogFixture()
                     .objd(128, "Sofa", sofa)
                     .ctss(7, MakeCatalogCtss("Caf\xe9 \"Sofa\"", "Soft, blue\r\nsofa\xa0"))
                     .fileBytes());
        sofa.price = 1;
        MakeFile(
            game + "/GameData/Objects/Objects.far",
            FarArchive::Build({{"sofa.iff", CatalogFixture().objd(5, "Game", sofa).fileBytes()}},
                              FarArchive::Variant::NameLength16));
        MakeFile(game + "/UserData2/Houses/House01.iff", LotFile({0xABCDEF01, 0x80}, 3));
        MakeFile(game + "/UserData/Houses/House02.iff", LotFile({0xABCDEF01}).chopped(3));
        MakeFile(path("extra/Houses/House09.iff"), LotFile({0x5151}));
    }
    QJsonArray json(const QString& command)
    {
        return QJsonDocument::fromJson(Output(dirs + command).toUtf8()).array();
    }
};

} // namespace

TEST_F(CliCollection, CatalogIsTheObjectsOfEveryFileWithFileAndGuid)
{
    QJsonArray expected;
    for (const QString& file : {game + "/Downloads/a.iff", game + "/Downloads/sub/b.iff"}) {
        const QString objects = Output(QStringLiteral("objects ") + file);
        for (QJsonValue object : QJsonDocument::fromJson(objects.toUtf8()).array()) {
            QJsonObject element = object.toObject();
            element.insert("file", file);
            const quint32 guid = file.endsWith("b.iff") ? 0xABCDEF01 : element["id"].toInt();
            element.insert("guid", GuidText(guid));
            expected.append(element);
        }
    }
    EXPECT_EQ(expected.size(), 4);
    EXPECT_EQ(json("catalog"), expected);

    // Text with commas, quotes or line breaks is quoted; rows end in CR LF.
    EXPECT_EQ(Output(dirs + "catalog --csv"),
              QStringLiteral(
                  "file,id,resource_name,name,description,price,disabled,function,sub_function,"
                  "room,downtown,vacation,community,studio_town,magic_town,build_mode,guid\r\n"
                  "%1/a.iff,128,Chair \u00e9,Oak Chair,Sturdy \u20ac seat,250,true,"
                  "1,2,4,8,16,32,64,128,3,0x00000080\r\n"
                  "%1/a.iff,129,Lamp,,,40,false,128,2,8,0,0,0,0,0,0,0x00000081\r\n"
                  "%1/a.iff,130,Bed lead,Oak Chair,Sturdy \u20ac seat,900,false,"
                  "0,0,0,0,0,0,0,0,0,0x00000082\r\n"
                  "%1/sub/b.iff,128,Sofa,\"Caf\u00e9 \"\"Sofa\"\"\",\"Soft, blue\r\nsofa\u00a0\","
                  "300,false,0,0,0,0,0,0,0,0,0,0xABCDEF01\r\n")
                  .arg(game + "/Downloads"));
}

TEST_F(CliCollection, ConflictsGroupObjdsByGuidTheGameArchivesIncluded)
{
    // The game's copy is not the same bytes as the download.
    const QString expected =
        QStringLiteral(R"([{"guid": "0xABCDEF01", "objects": [
        {"file": "%1", "entry": null, "id": 128, "resource_name": "Sofa", "identical_copy": false},
        {"file": "%2", "entry": "sofa.iff", "id": 5, "resource_name": "Game",
         "identical_copy": false}], "lots": ["%3"]}])")
            .arg(game + "/Downloads/sub/b.iff", game + "/GameData/Objects/Objects.far",
                 game + "/UserData2/Houses/House01.iff");
    EXPECT_EQ(json("conflicts"), QJsonDocument::fromJson(expected.toUtf8()).array());
}

TEST_F(CliCollection, LotsListEveryReadableLotAndTheDamagedAreSkipped)
{
    const CliResult result = Cli(dirs + "lots --userdata " + path("extra"));
    EXPECT_EQ(result.code, 0);
    const QString expected = QStringLiteral(R"([
        {"folder": "%1/UserData2", "file": "%1/UserData2/Houses/House01.iff", "name": null,
         "guids": ["0xABCDEF01", "0x00000080"]},
        {"folder": "%2", "file": "%2/Houses/House09.iff", "name": null, "guids": ["0x00005151"]}
        ])")
                                 .arg(game, path("extra"));
    EXPECT_EQ(QJsonDocument::fromJson(result.out.toUtf8()).array(),
              QJsonDocument::fromJson(expected.toUtf8()).array());
    EXPECT_TRUE(result.err.startsWith(game + "/UserData/Houses/House02.iff was skipped: "));
}

TEST_F(CliCollection, NewGuidRefusesAUsedGuidAndDedupeKeepsTheShallowestCopy)
{
    const QString file = game + "/Downloads/a.iff", copy = game + "/Downloads/x/y/a.iff";
    // A GUID placed only on the added lot is in use too; a dry run changes nothing.
    for (const QString used :
         {"0x5151 --userdata " + path("extra"), QString("0xabcdef01"), QString("128")}) {
        const CliResult refused = Cli(dirs + "new-guid " + file + " --object 130 --guid " + used);
        EXPECT_EQ(refused.code, 1);
        EXPECT_TRUE(refused.err.contains("is already in use")) << refused.err.toStdString();
    }
    const QJsonObject planned =
        QJsonDocument::fromJson(
            Output(dirs + "new-guid " + file + " --object 131 --guid 0x1234ABCD --dry-run")
                .toUtf8())
            .object();
    EXPECT_EQ(planned.value("changed").toArray().size(), 2);
    EXPECT_EQ(planned.value("changed")[1]["new"].toString(), "0x1234ABCD");
    EXPECT_EQ(ReadFile(file), CatalogFileBytes());

    MakeFile(copy, CatalogFileBytes());
    const QString expected =
        QStringLiteral(R"([{"keep": "%1", "delete": ["%2"]}])").arg(file, copy);
    EXPECT_EQ(json("dedupe --dry-run"), QJsonDocument::fromJson(expected.toUtf8()).array());
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_EQ(json("dedupe"), QJsonDocument::fromJson(expected.toUtf8()).array());
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_EQ(json("dedupe"), QJsonArray());
    const QJsonObject done =
        QJsonDocument::fromJson(Output(dirs + "new-guid " + file + " --object 128").toUtf8())
            .object();
    EXPECT_EQ(done.value("file").toString(), file);
    EXPECT_NE(done.value("changed")[0]["new"].toString(), "0x00000080");
    Output(dirs + "restore " + file);
    EXPECT_EQ(ReadFile(file), CatalogFileBytes());
}

TEST_F(CliCollection, CheckListsProblemFilesAndExitsOneForAny)
{
    EXPECT_EQ(Output(dirs + "check"), QString());

    MakeFile(game + "/Downloads/cut.iff", CatalogFileBytes().left(300));
    MakeFile(game + "/ExpansionPack2/broken.far", "FAR!byAZ");
    const CliResult result = Cli(dirs + "check");
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              game +
                  "/Downloads/cut.iff\tdamaged: the chunk at byte 64 runs past the end of the "
                  "file\n" +
                  game + "/ExpansionPack2/broken.far\tdamaged archive: not a FAR archive\n");
}

TEST_F(CliCollection, FilesGameFolderAndPresetsShowTheState)
{
    MakeFile(game + "/Downloads/readme.txt");
    MakeFile(game + "/GameData/Objects/Chair.IFF");
    EXPECT_EQ(Output(dirs + "files"), QStringLiteral("%1/Downloads/a.iff\n%1/Downloads/sub/b.iff\n"
                                                     "%1/GameData/Objects/Chair.IFF\n")
                                          .arg(game));
    EXPECT_EQ(Output(dirs + "game-folder"), game + QStringLiteral("/\nLanguage: US English (1)\n"));

    QByteArray folders;
    ASSERT_TRUE(
        EncodeFolders({FolderEntry{game + QStringLiteral("/Downloads/sub/"), false}}, &folders));
    MakeFile(data + QStringLiteral("/folders.dat"), folders);
    EXPECT_EQ(Output(dirs + "files"), game + QStringLiteral("/Downloads/sub/b.iff\n"));
    // Listing never writes the program's own files.
    EXPECT_EQ(ReadFile(data + QStringLiteral("/folders.dat")), folders);
    EXPECT_FALSE(QFile::exists(data + QStringLiteral("/presets.dat")));

    MakeFile(data + QStringLiteral("/presets.dat"),
             PresetsBytes({Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}},
                           Preset{"Caf\xe9 \x80", {255, 0, 128, 1, 2, 3, 4, 5, 7}}}));
    EXPECT_EQ(Output(dirs + "presets"),
              QStringLiteral("Kitchen\t4,1,1,0,0,0,0,0,0\n"
                             "Caf\u00e9 \u20ac\t255,0,128,1,2,3,4,5,7\n"));
}
