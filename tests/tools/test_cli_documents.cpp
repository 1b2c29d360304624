// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliTestSupport.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <sys/stat.h>

namespace
{

// The catalog file, saved once already so that a further save changes only the edited bytes.
class CliFile : public CliTest
{
protected:
    void SetUp() override
    {
        MakeFile(file, CatalogFileBytes());
        Output(QStringLiteral("resave ") + file);
        before = ReadFile(file);
        ASSERT_TRUE(QDir().mkpath(game));
        MakeFile(data + QStringLiteral("/presets.dat"),
                 PresetsBytes({Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}},
                               Preset{"Caf\xe9", {1, 1, 32, 1, 0, 1, 0, 0, 0}},
                               Preset{"Caf\xe9", {2, 2, 2, 2, 2, 2, 2, 2, 2}}}));
    }
    CliResult set(const QString& options)
    {
        return Cli(QStringLiteral("set %1 %2").arg(file, options));
    }
    // The file as it was with these fields of OBJD 128; its body starts after the 64-byte
    // header and its own 76-byte chunk header.
    QByteArray with(quint16 disabled, quint16 price, const SortSet& sorts) const
    {
        QByteArray bytes = before;
        char* body = bytes.data() + 140;
        qToLittleEndian(disabled, body + ObjdField::Disabled);
        qToLittleEndian(price, body + ObjdField::Price);
        for (int slot = 0; slot < 9; ++slot)
            qToLittleEndian(quint16(sorts[slot]), body + kSortSlotOffsets[slot]);
        return bytes;
    }

    const QString file = path(QStringLiteral("catalog.iff"));
    QByteArray before;
};

const QString kResourceLines = QStringLiteral("OBJD\t128\tChair \u00e9\t216\n"
                                              "CTSS\t2000\t\t%1\n"
                                              "OBJD\t129\tLamp\t216\n"
                                              "OBJD\t130\tBed lead\t216\n"
                                              "OBJD\t131\tBed tile\t216\n"
                                              "BMP_\t2000\tCatalog\t10\n"
                                              "STR#\t128\tstrings\t3\n")
                                   .arg(MakeCatalogCtss("Oak Chair", "Sturdy \x80 seat").size());

} // namespace

TEST_F(CliFile, ResaveIsStableAndListsTheResourcesButNotTheMap)
{
    const QString raw = path(QStringLiteral("raw.iff")), copy = path(QStringLiteral("copy.iff"));
    MakeFile(raw, CatalogFileBytes());
    // A link to a regular file is a target: the file is replaced, the link stays.
    MakeFile(path("old.iff"), "old");
    ASSERT_TRUE(QFile::link(path("old.iff"), copy));
    EXPECT_EQ(Output(QStringLiteral("resources ") + raw), kResourceLines);
    Output(QStringLiteral("resave %1 --output %2").arg(raw, copy));
    EXPECT_EQ(ReadFile(raw), CatalogFileBytes()); // --output leaves the source alone
    EXPECT_EQ(ReadFile(path("old.iff")), before); // as saved in place
    EXPECT_TRUE(QFileInfo(copy).isSymLink());
    // Once saved the file has a resource map: counted by formats, shown by neither.
    EXPECT_EQ(Output(QStringLiteral("resources ") + file), kResourceLines);
    EXPECT_EQ(Output(QStringLiteral("formats ") + file),
              QStringLiteral(">> All resources\nOBJD (4)\nCTSS (1)\nBMP_ (1)\nSTR# (1)\n"));
    EXPECT_TRUE(Output(QStringLiteral("--help")).contains(QLatin1String("make-demo DIR")));
}

TEST_F(CliFile, ObjectsJsonFollowsTheObjectListEvenOfOddFiles)
{
    // The bed's second tile is not an object of its own; the lamp's text is missing.
    EXPECT_EQ(QJsonDocument::fromJson(Output(QStringLiteral("objects ") + file).toUtf8()),
              QJsonDocument::fromJson(R"([
        {"id": 128, "resource_name": "Chair \u00e9", "name": "Oak Chair",
         "description": "Sturdy \u20ac seat", "language": 1, "price": 250, "disabled": true,
         "sorts": [1, 2, 4, 8, 16, 32, 64, 128, 3]},
        {"id": 129, "resource_name": "Lamp", "name": null, "description": null,
         "language": null, "price": 40, "disabled": false, "sorts": [128, 2, 8, 0, 0, 0, 0, 0, 0]},
        {"id": 130, "resource_name": "Bed lead", "name": "Oak Chair", "language": 1,
         "description": "Sturdy \u20ac seat", "price": 900, "disabled": false,
         "sorts": [0, 0, 0, 0, 0, 0, 0, 0, 0]}])"));
    // Odd files still give well-formed output.
    const QString empty = path(QStringLiteral("empty.iff"));
    MakeFile(empty, CatalogFixture().chunk("STR#", 7, "two\tparts\nline", "").fileBytes());
    EXPECT_EQ(Output(QStringLiteral("objects ") + empty), QStringLiteral("[\n]\n"));
    // A name holding control characters stays on one line.
    EXPECT_EQ(Output(QStringLiteral("resources ") + empty),
              QStringLiteral("STR#\t7\ttwo\\x09parts\\x0aline\t0\n"));
}

TEST_F(CliFile, OnlyTheGivenFieldsAndTextsChangeAndPricesFollowTheWindowsRules)
{
    // Each row: the options, then the Disabled field, price and sorts the file holds, and
    // whether a note tells that the price was stored otherwise. Beyond the 32-bit range a
    // price is the nearest bound, then the catalog's low 16 bits. A preset gives the sorts of
    // the first preset of that name.
    const SortSet kitchen = {2, 1, 1, 0, 0, 0, 0, 0, 7}, cafe = {1, 1, 32, 1, 0, 1, 0, 0, 0};
    const std::tuple<QString, int, quint16, SortSet, bool> cases[] = {
        {"--price 999", 1, 999, kChairSorts, false},
        {"--price 65535", 1, 65535, kChairSorts, false},
        {"--price 0", 1, 0, kChairSorts, false},
        {"--price 70000", 1, 4464, kChairSorts, true},
        {"--price -1", 1, 65535, kChairSorts, true},
        {"--price 99999999999999999999", 1, 65535, kChairSorts, true},
        {"--price -99999999999", 1, 0, kChairSorts, true},
        {"--price 999 --disabled no --sorts 2,1,1,0,0,0,0,0,7", 0, 999, kitchen, false},
        {dirs + "--preset Caf\u00e9", 0, 999, cafe, false}};
    for (const auto& [options, disabled, price, sorts, note] : cases) {
        const CliResult result = set("--object 128 " + options);
        ASSERT_EQ(result.code, 0) << options.toStdString() << result.err.toStdString();
        EXPECT_EQ(result.err.isEmpty(), !note) << options.toStdString();
        EXPECT_EQ(ReadFile(file), with(disabled, price, sorts));
    }

    // A name alone keeps the description, and the other way round.
    const auto texts = [&] {
        clsIFF doc;
        EXPECT_TRUE(doc.LoadFile(file));
        return doc.GetName(128) + '|' + doc.GetDescription(128) + '|' +
               QByteArray::number(doc.GetPrice(128));
    };
    ASSERT_EQ(set(QStringLiteral("--object 128 --name \"Caf\u00e9 Chair\"")).code, 0);
    EXPECT_EQ(texts(), QByteArray("Caf\xe9 Chair|Sturdy \x80 seat|999"));
    ASSERT_EQ(set(QStringLiteral("--object 128 --description \"Costs \u20ac5\"")).code, 0);
    EXPECT_EQ(texts(), QByteArray("Caf\xe9 Chair|Costs \x80") + "5|999");
}

TEST_F(CliFile, EveryRefusalExitsWithOneLineAndTouchesNothing)
{
    const QString bad = path("bad.iff"), stub = path("stub.iff"), texts = path("texts.iff");
    const QString wine = path("wine"), pipe = path("pipe.iff");
    MakeFile(bad, "<html>404 Not Found</html>");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const ObjdSpec cut{1, 0, 0, 0, 2000, 0, {}, 30}; // ends before the price
    MakeFile(
        stub,
        CatalogFixture().objd(128, "Stub", cut).ctss(2000, MakeCatalogCtss("S", "D")).fileBytes());
    // OBJD 128: language sets (0xFFFC); OBJD 129: a name without description (0xFFFD); an
    // "objd" 130, which is no OBJD.
    MakeFile(texts, CatalogFixture()
                        .objd(128, "Sofa", ObjdSpec{1, 0, 0, 10, 2000})
                        .ctss(2000, QByteArray::fromHex("fcff01020000") + "\x04Sofa" +
                                        QByteArray(2, '\0') + "\x0bSoft\r\nand \xa0" + '\0')
                        .objd(129, "Lamp", ObjdSpec{2, 0, 0, 20, 3000})
                        .ctss(3000, QByteArray::fromHex("fdff0100") + "\x01Old" +
                                        QByteArray("\0c\0\xa3", 4))
                        .chunk("objd", 130, "Decoy", MakeObjdBody({}))
                        .fileBytes());
    MakeFile(wine + "/system.reg", "WINE REGISTRY Version 2\n;; the player's own\n");
    QList<std::pair<QString, QByteArray>> kept;
    for (const QString& f : {file, bad, stub, texts, wine + "/system.reg"})
        kept.append({f, ReadFile(f)});

    // Each row: the exit code (2 for usage errors), the command line, "|" and a text the message
    // holds. The files: %1 the catalog, %2 a web page, %3 the stub, %4 the texts, %5 a player's
    // Wine prefix; %6 the data and game folders, %7 a game folder that is gone, %8 the data
    // folder alone (no Wine, no Steam: no game), %9 a named pipe. Each set also asks for a price,
    // which would show in the file had anything been saved.
    const QStringList names = {
        file, bad, stub, texts, wine, dirs, dirs.trimmed() + "/gone", "--data-dir " + data, pipe};
    for (const char* row :
         {"2 ",
          "2 frobnicate %1",
          "2 resources",
          "2 resources %1 %1",
          "2 resources %1 --output x",
          "2 files --game-dir",
          "2 resave %1 --output \"\"",
          "2 set --price 5",
          "2 set %1 --object 128 --price 5 --price-change 5",
          "2 set %1 --hide --show",
          "2 set %1 --name Chair",
          "2 set %1 --sort Function=+Nothing",
          "2 set %1 --sort Sub-Function=-Sofas,+sofas",
          "2 set %1 --sort \"Build Mode=Doors,Pool\"",
          "2 set %1 --object 128",
          "2 set %1 --object 70000 --price 1",
          "2 set %1 --object chair --price 1",
          "2 set %1 --object 128 --price 12a",
          "2 set %1 --object 128 --disabled maybe",
          "2 set %1 --object 128 --sorts 1,2,3,4,5,6,7,8",
          "2 set %1 --object 128 --sorts 1,2,3,4,5,6,7,8,9,10",
          "2 set %1 --object 128 --sorts 1,2,3,4,x,6,7,8,9",
          "2 set %1 --object 128 --sorts 1,2,3,4,5,6,7,8,9 --preset A",
          "2 set %1 --object 128 --sorts 70000,1,1,1,1,1,1,1,1|: Function is 70000.",
          "2 set %1 --object 128 --sorts 1,-1,1,1,1,1,1,1,1|Sub-Function is -1.",
          "2 set %1 --object 128 --sorts 1,1,1,1,1,1,1,1,65536|Build Mode is 65536.",
          "1 resources %2|Invalid IFF File",
          "1 objects %2|Invalid IFF File",
          "1 set %2 --object 128 --price 1|Invalid IFF File",
          "1 objects %1.none",
          "1 resave %1 --output %1/x.iff",
          "1 resave %1 --output %9|not a regular file",
          "1 set %1 --object 77 --price 5",
          "1 set %4 --object 130 --price 5|no object with ID 130",
          "1 set %1 --object 129 --name Lamp --price 5",
          "1 set %1 --object 128 --price 5 --description \u0141\u00f3d\u017a|\"\u0141\"",
          "1 set %1 %6 --object 128 --price 5 --preset Bathroom|Bathroom",
          "1 set %1 %7 --object 128 --price 5 --preset Kitchen|directory could not be found",
          "1 set %3 --object 128 --name Renamed --price 10",
          "1 set %4 --object 128 --price 5 --name Couch|(0xFFFC)",
          "1 set %4 --object 128 --price 5 --description Couch|(0xFFFC)",
          "1 set %4 --object 129 --price 5 --description Bright|holds no description",
          "1 %8 files|directory could not be found",
          "1 %8 check|directory could not be found",
          "1 %7 files|directory could not be found",
          "1 make-demo %2",
          "1 make-demo %5|not a demo"}) {
        const QStringList parts = QString::fromUtf8(row + 2).split(QLatin1Char('|'));
        QString command = parts[0];
        for (int i = 0; i < names.size(); ++i)
            command.replace(QLatin1Char('%') + QString::number(i + 1), names[i]);
        const CliResult result = Cli(command);
        EXPECT_EQ(result.code, row[0] - '0') << row;
        // A set that started prints what it did: nothing.
        EXPECT_TRUE(result.out.isEmpty() || result.out == QLatin1String("[\n]\n")) << row;
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << row << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(parts.value(1))) << result.err.toStdString();
    }
    for (const auto& [name, bytes] : kept)
        EXPECT_EQ(ReadFile(name), bytes) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(wine + "/drive_c") || QFileInfo::exists(wine + "/dosdevices"));
    EXPECT_FALSE(QFileInfo(pipe).isFile()); // still the pipe

    // A name alone is written back with the rest of a name-only text as it was.
    Output(QStringLiteral("set %1 --object 129 --name Neu").arg(texts));
    clsIFF doc;
    ASSERT_TRUE(doc.LoadFile(texts));
    EXPECT_EQ(doc.Resource("CTSS3000").Body(),
              QByteArray::fromHex("fdff0100") + "\x01Neu" + QByteArray("\0c\0\xa3", 4));
}

// US English and a UK English copy of it, a French translation; the file saved once.
class CliLanguages : public CliTest
{
protected:
    static QByteArray fileWith(const QByteArray& uk, const QByteArray& us = "Chair")
    {
        return CatalogFixture()
            .objd(128, "Chair", CatalogObject(2000))
            .ctss(2000, MakeCtssBody({{1, us, "a"},
                                      {0, "Seat", "b"},
                                      {2, uk, ""},
                                      {2, "Seat", ""},
                                      {3, "Chaise", ""},
                                      {3, "Si\xe8ge", ""}}))
            .fileBytes();
    }
    // The file as a save writes it.
    QByteArray saved(const QByteArray& bytes)
    {
        const QString other = path(QStringLiteral("other.iff"));
        MakeFile(other, bytes);
        Output(QStringLiteral("resave ") + other);
        return ReadFile(other);
    }
    const QString file = path(QStringLiteral("chair.iff"));
    void SetUp() override { MakeFile(file, saved(fileWith("Chair"))); }
};

TEST_F(CliLanguages, EveryLanguageAtAGlanceAndEditsThatReachTheCopies)
{
    EXPECT_EQ(QJsonDocument::fromJson(Output("strings --object 128 " + file).toUtf8()),
              QJsonDocument::fromJson(R"([
        {"language": 1, "language_name": "US English", "name": "Chair", "description": "Seat"},
        {"language": 2, "language_name": "UK English", "name": "Chair", "description": "Seat"},
        {"language": 3, "language_name": "French", "name": "Chaise",
         "description": "Si\u00e8ge"}])"));
    const auto shown = [&](const QString& options) {
        const QJsonObject object =
            QJsonDocument::fromJson(Output(options + " objects " + file).toUtf8())[0].toObject();
        return QString::number(object["language"].toInt()) + object["name"].toString();
    };
    EXPECT_EQ(shown("--language French"), QStringLiteral("3Chaise"));
    EXPECT_EQ(shown("--language 20"), QStringLiteral("1Chair")); // no Korean set
    {
        // The game's own language, from its registry.
        MakeFile(tmp.winePrefix + "/system.reg",
                 "[Software\\\\Maxis\\\\The Sims] 1\n\"Language\"=dword:0000040c\n");
        EXPECT_EQ(shown(""), QStringLiteral("3Chaise"));
        EXPECT_EQ(shown("--language USEnglish"), QStringLiteral("1Chair"));
        ASSERT_TRUE(QDir().mkpath(game));
        EXPECT_EQ(Output("game-folder --game-dir " + game),
                  game + QStringLiteral("/\nLanguage: French (3)\n"));
        EXPECT_TRUE(
            Output("--language 6 game-folder --game-dir " + game).endsWith("Spanish (6)\n"));
        QFile::remove(tmp.winePrefix + "/system.reg");
    }

    // Each row: the edit, then the UK and US names. Once the UK name differs, a US edit leaves
    // it, as it leaves the French translation.
    for (const auto& [edit, uk, us] :
         {std::tuple("--language 2 set --only-language --name Seat", "Seat", "Chair"),
          {"set --name Stool", "Seat", "Stool"},
          {"--language uk_english set --name Stool", "Stool", "Stool"},
          {"set --name Chair", "Chair", "Chair"}}) {
        Output(QStringLiteral("%1 --object 128 %2").arg(edit, file));
        EXPECT_EQ(ReadFile(file), saved(fileWith(uk, us))) << edit;
    }

    for (const char* refused : {"--language Klingon objects ",
                                "set --only-language --object 128 --price 5 ", "strings "}) {
        const CliResult result = Cli(refused + file);
        EXPECT_EQ(result.code, 2) << refused;
        EXPECT_EQ(result.err.count('\n'), 1) << refused;
    }
    EXPECT_EQ(Cli("strings --object 7 " + file).code, 1);
    EXPECT_EQ(ReadFile(file), saved(fileWith("Chair")));
}
