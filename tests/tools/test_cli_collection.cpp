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
        ObjdSpec sofa = FixtureObjd(9, 0, 300, 7);
        sofa.guid = 0xABCDEF01;
        const QByteArray sofaFile =
            CatalogFixture()
                .objd(128, "Sofa", sofa)
                .ctss(7, MakeCatalogCtss("Caf\xe9 \"Sofa\"", "Soft, blue\r\nsofa\xa0"))
                .fileBytes();
        MakeFile(game + "/Downloads/a.iff", CatalogFileBytes()); // four OBJDs with GUID 0
        MakeFile(game + "/Downloads/sub/b.iff", sofaFile);
        sofa.price = 1;
        MakeFile(
            game + "/GameData/Objects/Objects.far",
            FarArchive::Build({{"sofa.iff", CatalogFixture().objd(5, "Game", sofa).fileBytes()}},
                              FarArchive::Variant::NameLength16));
    }
    QJsonArray json(const QString& command)
    {
        const CliResult result = run(command);
        EXPECT_EQ(result.code, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out.toUtf8()).array();
    }
};

} // namespace

TEST_F(CliCollection, CatalogIsTheObjectsOfEveryFileWithFileAndGuid)
{
    QJsonArray expected;
    for (const QString& file : {game + "/Downloads/a.iff", game + "/Downloads/sub/b.iff"}) {
        const CliResult objects = RunArgs({QStringLiteral("objects"), file});
        for (QJsonValue object : QJsonDocument::fromJson(objects.out.toUtf8()).array()) {
            QJsonObject element = object.toObject();
            element.insert("file", file);
            element.insert("guid", file.endsWith("b.iff") ? "0xABCDEF01" : "0x00000000");
            expected.append(element);
        }
    }
    EXPECT_EQ(expected.size(), 4);
    EXPECT_EQ(json("catalog"), expected);

    const CliResult csv = run("catalog --csv");
    ASSERT_EQ(csv.code, 0);
    EXPECT_TRUE(csv.out.startsWith(
        "file,id,resource_name,name,description,price,disabled,function,sub_function,room,"
        "downtown,vacation,community,studio_town,magic_town,build_mode,guid\r\n"));
    EXPECT_EQ(csv.out.count("\r\n"), 6); // header, four objects, one break inside a field
    EXPECT_TRUE(csv.out.endsWith(
        game + QStringLiteral("/Downloads/sub/b.iff,128,Sofa,\"Caf\u00e9 \"\"Sofa\"\"\","
                              "\"Soft, blue\r\nsofa\u00a0\",300,false,0,0,0,0,0,0,0,0,0,"
                              "0xABCDEF01\r\n")));
    EXPECT_TRUE(csv.out.contains(",Lamp,,,40,false,128,2,8,0,0,0,0,0,0,0x00000000\r\n"));
}

TEST_F(CliCollection, ConflictsGroupObjdsByGuidTheGameArchivesIncluded)
{
    const QString expected = QStringLiteral(R"([{"guid": "0x00000000", "objects": [
        {"file": "%1/a.iff", "entry": null, "id": 128, "resource_name": "Chair \u00e9",
         "identical_copy": false},
        {"file": "%1/a.iff", "entry": null, "id": 129, "resource_name": "Lamp",
         "identical_copy": false},
        {"file": "%1/a.iff", "entry": null, "id": 130, "resource_name": "Bed lead",
         "identical_copy": false},
        {"file": "%1/a.iff", "entry": null, "id": 131, "resource_name": "Bed tile",
         "identical_copy": false}]},
      {"guid": "0xABCDEF01", "objects": [
        {"file": "%1/sub/b.iff", "entry": null, "id": 128, "resource_name": "Sofa",
         "identical_copy": false},
        {"file": "%2", "entry": "sofa.iff", "id": 5, "resource_name": "Game",
         "identical_copy": false}]}])")
                                 .arg(game + "/Downloads", game + "/GameData/Objects/Objects.far");
    EXPECT_EQ(json("conflicts"), QJsonDocument::fromJson(expected.toUtf8()).array());
}

TEST_F(CliCollection, CheckListsProblemFilesAndExitsOneForAny)
{
    CliResult result = run("check");
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.isEmpty());

    MakeFile(game + "/Downloads/cut.iff", CatalogFileBytes().left(300));
    MakeFile(game + "/ExpansionPack2/broken.far", "FAR!byAZ");
    result = run("check");
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              game +
                  "/Downloads/cut.iff\tdamaged: the chunk at byte 64 runs past the end of the "
                  "file\n" +
                  game + "/ExpansionPack2/broken.far\tdamaged archive: not a FAR archive\n");
}
