#include "CliFixtures.h"
#include "CliTestSupport.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

namespace
{

// Works on a file that has been saved once, so that a further save changes only the bytes
// that were edited.
class CliSet : public CliTest
{
protected:
    void SetUp() override
    {
        WriteBytes(file, CatalogFileBytes());
        ASSERT_EQ(RunTool({QStringLiteral("resave"), file}).code, 0);
        before = ReadBytes(file);
    }

    CliResult set(QStringList options)
    {
        options.prepend(file);
        options.prepend(QStringLiteral("set"));
        return RunTool(options);
    }

    void expectUntouched(const CliResult& result, int code)
    {
        EXPECT_EQ(result.code, code) << result.err.toStdString();
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << result.err.toStdString();
        EXPECT_EQ(ReadBytes(file), before);
    }

    // Offsets where the file now differs from before (same length expected).
    QList<qsizetype> changedOffsets()
    {
        const QByteArray after = ReadBytes(file);
        QList<qsizetype> offsets;
        EXPECT_EQ(after.size(), before.size());
        for (qsizetype i = 0; i < qMin(after.size(), before.size()); ++i) {
            if (after.at(i) != before.at(i))
                offsets << i;
        }
        return offsets;
    }

    // File offset of a field of OBJD 128's body: its chunk follows the 64-byte header.
    static qsizetype chairField(int fieldOffset) { return 64 + 76 + fieldOffset; }

    void load(clsIFF& doc)
    {
        doc.Clear();
        ASSERT_TRUE(doc.LoadFile(file));
    }

    const QString file = path(QStringLiteral("catalog.iff"));
    QByteArray before;
};

} // namespace

TEST_F(CliSet, PriceChangesOnlyThePriceBytes)
{
    const CliResult result = set({QStringLiteral("--object"), QStringLiteral("128"),
                                  QStringLiteral("--price"), QStringLiteral("999")});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty());
    const QList<qsizetype> changed = changedOffsets();
    ASSERT_FALSE(changed.isEmpty());
    for (const qsizetype offset : changed) {
        EXPECT_GE(offset, chairField(ObjdField::Price));
        EXPECT_LE(offset, chairField(ObjdField::Price) + 1);
    }
    clsIFF doc;
    load(doc);
    EXPECT_EQ(doc.GetPrice(128), 999);
    EXPECT_EQ(doc.GetName(128), QByteArray("Oak Chair"));
    EXPECT_TRUE(doc.GetDisabled(128));
    EXPECT_EQ(doc.GetSorts(128), kChairSorts);
}

TEST_F(CliSet, DisabledAndSortsChangeOnlyTheirFields)
{
    ASSERT_EQ(
        set({QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--disabled"),
             QStringLiteral("no"), QStringLiteral("--sorts"), QStringLiteral("2,1,1,0,0,0,0,0,7")})
            .code,
        0);
    QList<qsizetype> allowed;
    for (const int field : kSortSlotOffsets)
        allowed << chairField(field) << chairField(field) + 1;
    allowed << chairField(ObjdField::Disabled) << chairField(ObjdField::Disabled) + 1;
    for (const qsizetype offset : changedOffsets())
        EXPECT_TRUE(allowed.contains(offset)) << "offset " << offset;

    clsIFF doc;
    load(doc);
    EXPECT_FALSE(doc.GetDisabled(128));
    EXPECT_EQ(doc.GetSorts(128), (SortSet{2, 1, 1, 0, 0, 0, 0, 0, 7}));
    EXPECT_EQ(doc.GetPrice(128), 250);

    ASSERT_EQ(set({QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--disabled"),
                   QStringLiteral("yes")})
                  .code,
              0);
    load(doc);
    EXPECT_TRUE(doc.GetDisabled(128));
}

TEST_F(CliSet, NameAloneKeepsTheDescriptionAndTheOtherWayRound)
{
    ASSERT_EQ(set({QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--name"),
                   QStringLiteral("Caf\u00e9 Chair")})
                  .code,
              0);
    clsIFF doc;
    load(doc);
    EXPECT_EQ(doc.GetName(128), QByteArray("Caf\xe9 Chair"));
    EXPECT_EQ(doc.GetDescription(128), QByteArray("Sturdy \x80 seat"));

    ASSERT_EQ(set({QStringLiteral("--object"), QStringLiteral("128"),
                   QStringLiteral("--description"), QStringLiteral("Costs \u20ac5")})
                  .code,
              0);
    load(doc);
    EXPECT_EQ(doc.GetName(128), QByteArray("Caf\xe9 Chair"));
    EXPECT_EQ(doc.GetDescription(128), QByteArray("Costs \x80"
                                                  "5"));
    EXPECT_EQ(doc.GetPrice(128), 250);
}

TEST_F(CliSet, RefusalsLeaveTheFileUntouched)
{
    QString withNull = QStringLiteral("Chair");
    withNull.insert(2, QChar(0));
    expectUntouched(set({QStringLiteral("--object"), QStringLiteral("77"),
                         QStringLiteral("--price"), QStringLiteral("1")}),
                    1);
    // OBJD 129 points at a catalog text the file does not hold.
    expectUntouched(
        set({QStringLiteral("--object"), QStringLiteral("129"), QStringLiteral("--name"),
             QStringLiteral("Lamp"), QStringLiteral("--price"), QStringLiteral("5")}),
        1);
    const CliResult unstorable =
        set({QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--price"),
             QStringLiteral("5"), QStringLiteral("--description"),
             QStringLiteral("\u0141\u00f3d\u017a")});
    expectUntouched(unstorable, 1);
    EXPECT_TRUE(unstorable.err.contains(QStringLiteral("\u0141")));
    expectUntouched(set({QStringLiteral("--object"), QStringLiteral("128"),
                         QStringLiteral("--name"), withNull}),
                    1);
}

TEST_F(CliSet, BadCommandLinesAreUsageErrorsAndTouchNothing)
{
    const QList<QStringList> wrong = {
        {QStringLiteral("--price"), QStringLiteral("5")},
        {QStringLiteral("--object"), QStringLiteral("128")},
        {QStringLiteral("--object"), QStringLiteral("70000"), QStringLiteral("--price"),
         QStringLiteral("1")},
        {QStringLiteral("--object"), QStringLiteral("chair"), QStringLiteral("--price"),
         QStringLiteral("1")},
        {QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--price"),
         QStringLiteral("12a")},
        {QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--disabled"),
         QStringLiteral("maybe")},
        {QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--sorts"),
         QStringLiteral("1,2,3,4,5,6,7,8")},
        {QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--sorts"),
         QStringLiteral("1,2,3,4,5,6,7,8,9,10")},
        {QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--sorts"),
         QStringLiteral("1,2,3,4,x,6,7,8,9")},
        {QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--sorts"),
         QStringLiteral("1,2,3,4,5,6,7,8,9"), QStringLiteral("--preset"), QStringLiteral("A")},
    };
    for (const QStringList& options : wrong) {
        SCOPED_TRACE(options.join(' ').toStdString());
        expectUntouched(set(options), 2);
    }
}

TEST_F(CliSet, PricesFollowTheWindowsRules)
{
    struct Case {
        const char* given;
        qint32 stored;
        bool warned;
    };
    // Out of the 32-bit range the nearest bound; then the catalog's low 16 bits.
    const Case cases[] = {{"65535", 65535, false},
                          {"70000", 4464, true},
                          {"-1", 65535, true},
                          {"99999999999999999999", 65535, true},
                          {"-99999999999", 0, true}};
    clsIFF doc;
    for (const Case& c : cases) {
        const CliResult result = set({QStringLiteral("--object"), QStringLiteral("128"),
                                      QStringLiteral("--price"), QLatin1String(c.given)});
        ASSERT_EQ(result.code, 0) << c.given;
        EXPECT_EQ(!result.err.isEmpty(), c.warned) << c.given;
        load(doc);
        EXPECT_EQ(doc.GetPrice(128), c.stored) << c.given;
    }
}

TEST_F(CliSet, ObjectTooShortForAFieldIsRefused)
{
    WriteBytes(file, ShortObjdFileBytes());
    before = ReadBytes(file);
    expectUntouched(
        set({QStringLiteral("--object"), QStringLiteral("128"), QStringLiteral("--name"),
             QStringLiteral("Renamed"), QStringLiteral("--price"), QStringLiteral("10")}),
        1);
}

TEST_F(CliSet, InvalidFileIsReportedAndKept)
{
    WriteBytes(file, QByteArray("IFF FILE 9.9 not really"));
    before = ReadBytes(file);
    const CliResult result = set({QStringLiteral("--object"), QStringLiteral("128"),
                                  QStringLiteral("--price"), QStringLiteral("1")});
    expectUntouched(result, 1);
    EXPECT_EQ(result.err, QStringLiteral("Invalid IFF File\n"));
}

TEST_F(CliSet, PresetAppliesTheStoredSorts)
{
    const QString data = path(QStringLiteral("data"));
    const QString game = path(QStringLiteral("game"));
    ASSERT_TRUE(QDir().mkpath(game));
    WriteBytes(data + QStringLiteral("/presets.dat"),
               PresetsBytes({Preset{"Kitchen", {4, 1, 1, 0, 0, 0, 0, 0, 0}},
                             Preset{"Caf\xe9", {1, 1, 32, 1, 0, 1, 0, 0, 0}},
                             Preset{"Caf\xe9", {2, 2, 2, 2, 2, 2, 2, 2, 2}}}));
    const QStringList state = {QStringLiteral("--data-dir"), data, QStringLiteral("--game-dir"),
                               game};

    ASSERT_EQ(set(state + QStringList{QStringLiteral("--object"), QStringLiteral("128"),
                                      QStringLiteral("--preset"), QStringLiteral("Caf\u00e9")})
                  .code,
              0);
    clsIFF doc;
    load(doc);
    EXPECT_EQ(doc.GetSorts(128), (SortSet{1, 1, 32, 1, 0, 1, 0, 0, 0})); // the first of that name
    EXPECT_EQ(doc.GetPrice(128), 250);

    before = ReadBytes(file);
    const CliResult unknown =
        set(state + QStringList{QStringLiteral("--object"), QStringLiteral("128"),
                                QStringLiteral("--preset"), QStringLiteral("Bathroom")});
    expectUntouched(unknown, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Bathroom")));
}

TEST_F(CliSet, PresetWithoutAGameFolderFails)
{
    const CliResult result = set(
        {QStringLiteral("--data-dir"), path(QStringLiteral("data")), QStringLiteral("--game-dir"),
         path(QStringLiteral("no-such-game")), QStringLiteral("--object"), QStringLiteral("128"),
         QStringLiteral("--preset"), QStringLiteral("Kitchen")});
    expectUntouched(result, 1);
    EXPECT_EQ(result.err, QStringLiteral("The Sims directory could not be found.\n"));
}
