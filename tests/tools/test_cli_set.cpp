#include "CliTestSupport.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

namespace
{

// Works on a file saved once already, so that a further save changes only the edited bytes.
class CliSet : public CliTest
{
protected:
    void SetUp() override
    {
        MakeFile(file, CatalogFileBytes());
        ASSERT_EQ(Cli(QStringLiteral("resave ") + file).code, 0);
        before = ReadFile(file);
    }
    CliResult set(const QString& options)
    {
        return Cli(QStringLiteral("set %1 %2").arg(file, options));
    }
    void expectUntouched(const CliResult& result, int code)
    {
        EXPECT_EQ(result.code, code) << result.err.toStdString();
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << result.err.toStdString();
        EXPECT_EQ(ReadFile(file), before);
    }
    // Every changed byte of the file lies in one of these fields of OBJD 128, whose body
    // starts after the 64-byte header and its own 76-byte chunk header.
    void expectChangesOnlyIn(const QList<int>& fieldOffsets)
    {
        const QByteArray after = ReadFile(file);
        ASSERT_EQ(after.size(), before.size());
        QSet<qsizetype> allowed;
        for (const int field : fieldOffsets)
            allowed << 140 + field << 141 + field;
        int changed = 0;
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (after.at(i) != before.at(i)) {
                ++changed;
                EXPECT_TRUE(allowed.contains(i)) << "byte " << i;
            }
        }
        EXPECT_GT(changed, 0);
    }
    void load()
    {
        doc.Clear();
        ASSERT_TRUE(doc.LoadFile(file));
    }

    const QString file = path(QStringLiteral("catalog.iff"));
    QByteArray before;
    clsIFF doc;
};

} // namespace

TEST_F(CliSet, OnlyTheGivenFieldsChange)
{
    const CliResult price = set(QStringLiteral("--object 128 --price 999"));
    ASSERT_EQ(price.code, 0) << price.err.toStdString();
    EXPECT_TRUE(price.err.isEmpty());
    expectChangesOnlyIn({ObjdField::Price});
    load();
    EXPECT_EQ(doc.GetPrice(128), 999);
    EXPECT_EQ(doc.GetSorts(128), kChairSorts);

    before = ReadFile(file);
    ASSERT_EQ(set(QStringLiteral("--object 128 --disabled no --sorts 2,1,1,0,0,0,0,0,7")).code, 0);
    expectChangesOnlyIn(QList<int>(std::begin(kSortSlotOffsets), std::end(kSortSlotOffsets))
                        << ObjdField::Disabled);
    load();
    EXPECT_FALSE(doc.GetDisabled(128));
    EXPECT_EQ(doc.GetSorts(128), (SortSet{2, 1, 1, 0, 0, 0, 0, 0, 7}));
}

TEST_F(CliSet, NameAloneKeepsTheDescriptionAndTheOtherWayRound)
{
    ASSERT_EQ(set(QStringLiteral("--object 128 --name \"Caf\u00e9 Chair\"")).code, 0);
    load();
    EXPECT_EQ(doc.GetName(128), QByteArray("Caf\xe9 Chair"));
    EXPECT_EQ(doc.GetDescription(128), QByteArray("Sturdy \x80 seat"));
    ASSERT_EQ(set(QStringLiteral("--object 128 --description \"Costs \u20ac5\"")).code, 0);
    load();
    EXPECT_EQ(doc.GetName(128), QByteArray("Caf\xe9 Chair"));
    EXPECT_EQ(doc.GetDescription(128), QByteArray("Costs \x80") + "5");
    EXPECT_EQ(doc.GetPrice(128), 250);
}

TEST_F(CliSet, RefusalsLeaveTheFileUntouched)
{
    // Each also asks for a price, which would show in the file had anything been saved.
    expectUntouched(set(QStringLiteral("--object 77 --price 5")), 1); // no such object
    // OBJD 129 points at catalog text the file does not hold.
    expectUntouched(set(QStringLiteral("--object 129 --name Lamp --price 5")), 1);
    const CliResult unstorable =
        set(QStringLiteral("--object 128 --price 5 --description \u0141\u00f3d\u017a"));
    expectUntouched(unstorable, 1);
    EXPECT_TRUE(unstorable.err.contains(QStringLiteral("\"\u0141\"")));
    expectUntouched(RunArgs({"set", file, "--object", "128", "--price", "5", "--name",
                             QStringLiteral("Ch") + QChar(0)}),
                    1);

    MakeFile(file, QByteArray("IFF FILE 9.9 not really"));
    before = ReadFile(file);
    const CliResult invalid = set(QStringLiteral("--object 128 --price 1"));
    expectUntouched(invalid, 1);
    EXPECT_EQ(invalid.err, QStringLiteral("Invalid IFF File\n"));

    ObjdSpec stub = FixtureObjd(1, 0, 0, 2000);
    stub.bodySize = 30; // ends before the price
    MakeFile(
        file,
        CatalogFixture().objd(128, "Stub", stub).ctss(2000, MakeCatalogCtss("S", "D")).fileBytes());
    before = ReadFile(file);
    expectUntouched(set(QStringLiteral("--object 128 --name Renamed --price 10")), 1);
}

TEST_F(CliSet, BadCommandLinesAreUsageErrorsAndTouchNothing)
{
    for (const char* options :
         {"--price 5", "--object 128", "--object 70000 --price 1", "--object chair --price 1",
          "--object 128 --price 12a", "--object 128 --disabled maybe",
          "--object 128 --sorts 1,2,3,4,5,6,7,8", "--object 128 --sorts 1,2,3,4,5,6,7,8,9,10",
          "--object 128 --sorts 1,2,3,4,x,6,7,8,9",
          "--object 128 --sorts 1,2,3,4,5,6,7,8,9 --preset A"}) {
        SCOPED_TRACE(options);
        expectUntouched(set(QLatin1String(options)), 2);
    }
}

TEST_F(CliSet, PricesFollowTheWindowsRules)
{
    // Beyond the 32-bit range the nearest bound, then the catalog's low 16 bits, with a note.
    // Each row: the price given, the price stored.
    for (const QString row : {"65535 65535", "0 0", "70000 4464", "-1 65535",
                              "99999999999999999999 65535", "-99999999999 0"}) {
        const QString given = row.section(' ', 0, 0), stored = row.section(' ', 1);
        const CliResult result = set(QStringLiteral("--object 128 --price ") + given);
        ASSERT_EQ(result.code, 0) << row.toStdString();
        EXPECT_EQ(result.err.isEmpty(), given == stored) << row.toStdString();
        load();
        EXPECT_EQ(QString::number(doc.GetPrice(128)), stored) << row.toStdString();
    }
}

TEST_F(CliSet, PresetAppliesTheFirstStoredPresetOfThatName)
{
    ASSERT_TRUE(QDir().mkpath(game));
    MakeFile(data + QStringLiteral("/presets.dat"),
             PresetsBytes({Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}},
                           Preset{"Caf\xe9", {1, 1, 32, 1, 0, 1, 0, 0, 0}},
                           Preset{"Caf\xe9", {2, 2, 2, 2, 2, 2, 2, 2, 2}}}));
    const QString state =
        QStringLiteral("--data-dir %1 --game-dir %2 --object 128 ").arg(data, game);
    ASSERT_EQ(set(state + QStringLiteral("--preset Caf\u00e9")).code, 0);
    load();
    EXPECT_EQ(doc.GetSorts(128), (SortSet{1, 1, 32, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(doc.GetPrice(128), 250);

    before = ReadFile(file);
    const CliResult unknown = set(state + QStringLiteral("--preset Bathroom"));
    expectUntouched(unknown, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Bathroom")));
    const CliResult noGame = set(QStringLiteral("--data-dir %1 --game-dir %2/gone --object 128 "
                                                "--preset Kitchen")
                                     .arg(data, game));
    expectUntouched(noGame, 1);
    EXPECT_EQ(noGame.err, QStringLiteral("The Sims directory could not be found.\n"));
}

TEST_F(CliSet, CatalogTextThatCannotBeWrittenIsRefusedAndReportedAsStored)
{
    // OBJD 128: language sets (0xFFFC); OBJD 129: a name without description (0xFFFD).
    const QByteArray sets = QByteArray::fromHex("fcff01020000") + "\x04Sofa" + QByteArray(2, '\0') +
                            "\x0bSoft\r\nand \xa0" + '\0';
    const QByteArray nameOnly =
        QByteArray::fromHex("fdff0100") + "\x01Old" + QByteArray("\0c\0\xa3", 4);
    MakeFile(file, CatalogFixture()
                       .objd(128, "Sofa", FixtureObjd(1, 0, 10, 2000))
                       .ctss(2000, sets)
                       .objd(129, "Lamp", FixtureObjd(2, 0, 20, 3000))
                       .ctss(3000, nameOnly)
                       .fileBytes());
    before = ReadFile(file);

    // Each row: the options, then the reason the refusal gives.
    for (const QString row : {"--object 128 --price 5 --name Couch|(0xFFFC)",
                              "--object 128 --price 5 --description Couch|(0xFFFC)",
                              "--object 129 --price 5 --description Bright|holds no description"}) {
        const CliResult result = set(row.section('|', 0, 0));
        expectUntouched(result, 1);
        EXPECT_TRUE(result.err.contains(row.section('|', 1))) << result.err.toStdString();
    }
    ASSERT_EQ(set(QStringLiteral("--object 129 --name Neu")).code, 0);
    load();
    EXPECT_EQ(doc.Resource("CTSS3000").Body(),
              QByteArray::fromHex("fdff0100") + "\x01Neu" + QByteArray("\0c\0\xa3", 4));
}
