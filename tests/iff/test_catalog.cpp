// SPDX-License-Identifier: GPL-3.0-or-later
// The object catalog: object list, catalog text, price, Disabled, sort fields, icon.

#include "../app/AppTestEnv.h"
#include "CatalogFixture.h"
#include "IListSink.h"
#include "IffError.h"
#include "ObjdLayout.h"
#include "SortVocabulary.h"
#include "clsIFF.h"

#include <QtEndian>

namespace
{

using Rows = QList<QByteArray>;
const QByteArray kNone = "*NONE*", z(1, '\0');
// Catalog text as real files hold it: Windows-1252 letters, CR LF, a lone CR, 0xA0.
const QByteArray kName = "Caf\xe9 \x80 lamp\xa0";
const QByteArray kText = "Line one\r\nline \xe0 two\rthree\xa0" + QByteArray(120, 'x');
const QByteArray kObject = MakeObjdBody(CatalogObject(300));
// Slot order with the byte offsets written out, independent of the program's table.
const int kSortOffsets[9] = {80, 188, 78, 190, 194, 198, 206, 208, 138};

QByteArray header(int count)
{
    return QByteArray::fromHex("fdff") + char(count) + z;
}
QByteArray word(quint16 value)
{
    return QByteArray(1, char(value & 0xFF)) + char(value >> 8);
}
// A string with a 7-bit length prefix (two groups at most here), as language sets hold it.
QByteArray varString(const QByteArray& text)
{
    const int n = int(text.size());
    return (n < 128 ? QByteArray(1, char(n)) : QByteArray(1, char(n | 0x80)) + char(n >> 7)) + text;
}
// Every byte differs from its neighbours, so a write that strays shows.
QByteArray patterned(int size = 216)
{
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i)
        body[i] = char((i * 13 + 5) & 0xFF);
    return body;
}
QByteArray withWord(QByteArray body, int offset, quint16 value)
{
    qToLittleEndian(value, body.data() + offset);
    return body;
}
ObjdSpec tile(quint16 group, quint16 tileIndex, int bodySize = 216)
{
    return ObjdSpec{.groupId = group, .tileIndex = tileIndex, .bodySize = bodySize};
}

// OBJD 128 with the body given; CTSS 300, its catalog text when the body says so.
struct Doc {
    clsIFF doc;
    explicit Doc(const CatalogFixture& file) { EXPECT_TRUE(file.loadInto(doc)); }
    explicit Doc(const QByteArray& objd, const QByteArray& ctss = MakeCatalogCtss("n", "d"))
        : Doc(CatalogFixture().chunk("OBJD", 128, "o", objd).ctss(300, ctss))
    {
    }
    QByteArray name() const { return doc.GetName(128); }
    QByteArray description() const { return doc.GetDescription(128); }
};

// An IListSink that keeps each row as "key|text|sub-item|...".
struct RecordingList : IListSink {
    Rows rows;
    void Clear() override { rows.clear(); }
    void AddRow(const QByteArray& key, const QByteArray& text, const Rows& subItems) override
    {
        rows.append((Rows{key, text} + subItems).join('|'));
    }
};

// The object list of the file, the keys given deleted after loading.
Rows objectsOf(const CatalogFixture& file, const Rows& deleted = {})
{
    Doc d(file);
    for (const QByteArray& key : deleted)
        d.doc.DelResource(key);
    RecordingList list;
    list.AddRow("OBJD1", "left from the last file", {"1"}); // must be cleared
    d.doc.GenerateObjectList(list);
    return list.rows;
}

} // namespace

TEST(ObjectList, OneRowPerIdInLoadOrderLeadTilesHideTheRestOfTheirGroup)
{
    EXPECT_EQ(objectsOf(CatalogFixture()
                            .objd(129, "tile 1", tile(5, 1)) // before its lead: hidden all the same
                            .objd(128, "Bed", tile(5, 0xFFFF))
                            .bmp(200, "Catalog")
                            .objd(130, "tile 2", tile(5, 2))
                            .objd(131, "Chair", tile(9, 0))
                            .objd(131, "Second copy", tile(0, 0))
                            .objd(132, "L", tile(7, 0xFFFF)) // two leads of one group: both listed
                            .objd(133, "R", tile(7, 0xFFFF))
                            .objd(90, "max", tile(65535, 0)) // rows keep load order
                            // TileIndex cut to its low byte reads 0x00FF: no lead.
                            .objd(139, "half", tile(11, 0xFFFF, ObjdField::TileIndex + 1))
                            .objd(142, "tile", tile(11, 1))),
              (Rows{"OBJD128|Bed|128", "OBJD131|Chair|131", "OBJD132|L|132", "OBJD133|R|133",
                    "OBJD90|max|90", "OBJD139|half|139", "OBJD142|tile|142"}));
    // An OBJD deleted after loading is passed over: with its lead gone, the tile stands alone.
    EXPECT_EQ(
        objectsOf(CatalogFixture().objd(128, "Lead", tile(5, 0xFFFF)).objd(129, "Tile", tile(5, 1)),
                  {"OBJD128"}),
        Rows{"OBJD129|Tile|129"});
    EXPECT_EQ(objectsOf(CatalogFixture().objd(7, "Lamp")), Rows{"OBJD7|Lamp|7"});
    EXPECT_TRUE(objectsOf(CatalogFixture().bmp(200, "Catalog")).isEmpty());
}

TEST(CatalogText, UsEnglishStringsZeroAndOneAndOnlyTheLanguageFormatIsEverWritten)
{
    const QString damaged = "The catalog text is damaged, so Kestrane does not change it.";
    const QString noText = "The object has no catalog text.",
                  noDescription = "The catalog text holds no description.";
    const QString other = "The catalog text is in a format Kestrane cannot change (0x%1).";
    // Which texts can be written: 2 both, 1 the name only, 0 none, for the reason given.
    const std::tuple<QByteArray, QByteArray, QByteArray, int, QString> cases[] = {
        // The US English set, wherever it stands; bytes pass through undecoded.
        {MakeCtssBody({{6, "Nom", "c0"}, {1, "N\xe9", "c1"}, {9, "Desc", "c2"}, {1, "D", ""}}),
         "N\xe9", "D", 2, ""},
        // String 0 only: a name and no description, whatever follows the count's strings.
        {header(1) + '\1' + "Name" + z + "note" + z + "\xa3", "Name", "", 1, noDescription},
        {header(1) + "\1Name" + z + z + "\1Extra" + z + z, "Name", "", 1, noDescription},
        {header(1) + "\1N" + z + "c", "N", "", 1, noDescription}, // a comment cut off
        // A count of 0 holds no text, and a name cut off is no name.
        {header(0) + "\1N" + z + z, kNone, kNone, 0, noText},
        {header(1) + '\1' + 'X', kNone, kNone, 0, damaged},
        {header(2) + "\1N" + z + z + "\1D" + z, "N", "D", 2, ""}, // comment cut at the end
        {header(2) + "\1N" + z + z + "\1D", "N", kNone, 1,
         "The catalog description is damaged, so Kestrane does not change it."},
        // Too short for a name: no text, and none is ever written.
        {QByteArray("\xfd"), kNone, kNone, 0, noText},
        {header(1) + '\1', kNone, kNone, 0, noText},
        // Other formats, and every cut of them, read whole strings or none.
        {word(0) + word(2) + char(kName.size()) + kName + char(kText.size()) + kText, kName, kText,
         0, other.arg("0000")},
        {word(0xFFFF) + word(3) + kName + z + kText + z + "third" + z, kName, kText, 0,
         other.arg("FFFF")},
        {word(0xFFFE) + word(2) + kName + z + "c" + z + kText + z + z, kName, kText, 0,
         other.arg("FFFE")},
        {word(0xFFFC) + '\2' + word(2) + z + varString(kName) + varString("c") + z +
             varString(kText) + varString("") + word(1) + '\1' + varString("Fr") + varString(""),
         kName, kText, 0, other.arg("FFFC")},
        {word(0xFFFF) + word(1) + kName + z, kName, "", 0, other.arg("FFFF")}, // a name only
        // A counted string holding a 0 byte reads up to it.
        {word(0) + word(2) + '\5' + "ab" + z + "cd" + '\1' + "D", "ab", "D", 0, other.arg("0000")},
        {word(0xFFFC) + z, kNone, kNone, 0, other.arg("FFFC")}, // no language set
        {word(0x1234) + word(2) + kName + z + kText + z, kNone, kNone, 0, other.arg("1234")}};
    for (const auto& [body, name, description, writable, reason] : cases) {
        const bool language = body.size() < 2 || body.startsWith("\xfd\xff");
        for (qsizetype size = body.size(); size >= (language ? body.size() : 0); --size) {
            Doc d(kObject, body.left(size));
            SCOPED_TRACE(body.left(size).toHex().constData());
            const bool cut = size < body.size();
            EXPECT_TRUE(d.name() == name || (cut && d.name() == kNone)) << d.name().data();
            EXPECT_TRUE(d.description() == description || (cut && d.description() == kNone));
            const CatalogTextAccess access = d.doc.GetCatalogTextAccess(128);
            EXPECT_EQ(access.nameWritable + access.descriptionWritable, writable);
            EXPECT_TRUE(access.reason == reason || cut) << access.reason.toStdString();
            const QByteArray before = Records(d.doc);
            EXPECT_TRUE(d.doc.SetCtss(128, d.name(), d.description()));
            if (writable < 2)
                EXPECT_EQ(d.doc.SetCtss(128, "New", "Text"), access.reason == noText);
            EXPECT_EQ(Records(d.doc), before);
        }
    }
}

// A 0xFFFD table with a name and a description for each language of codes, in that order,
// each comment naming its string: copies of name and desc, except the languages of own.
using Own = QMap<int, std::pair<QByteArray, QByteArray>>;
QByteArray languageTable(const QList<int>& codes, const Own& own = {},
                         const QByteArray& name = "Chair", const QByteArray& desc = "Seat\r\n")
{
    QList<CtssString> strings;
    for (const int code : codes) {
        const QByteArray tag = QByteArray::number(code);
        const auto texts = own.value(code, {name, desc});
        strings.append({quint8(code), texts.first, "n" + tag});
        strings.append({quint8(code), texts.second, "d" + tag});
    }
    return MakeCtssBody(strings);
}
QList<int> upTo(int count)
{
    QList<int> codes;
    for (int code = 1; code <= count; ++code)
        codes.append(code);
    return codes;
}
// Own texts "Name <code>" and "Desc <code>": translations.
Own translated(const QList<int>& codes)
{
    Own own;
    for (const int code : codes)
        own.insert(code, {"Name " + QByteArray::number(code), "Desc " + QByteArray::number(code)});
    return own;
}

TEST(CatalogLanguages, TheGameLanguagesSetElseUsEnglish)
{
    StateGuard guard;
    const QByteArray seat = "Seat\r\n";
    const struct {
        QByteArray body;
        quint8 game, shown;
        QByteArray name, description;
    } cases[] = {
        {languageTable({1}), 1, 1, "Chair", seat},
        {languageTable({1}), 3, 1, "Chair", seat},      // no French set
        {languageTable(upTo(18)), 2, 2, "Chair", seat}, // a copy
        {languageTable(upTo(18), translated({3})), 3, 3, "Name 3", "Desc 3"},
        {languageTable(upTo(18), translated({3})), 19, 1, "Chair", seat}, // no Thai set
        {languageTable(upTo(20), translated({2, 20})), 20, 20, "Name 20", "Desc 20"},
        // Empty strings are no text: the game falls back to US English.
        {languageTable({1, 3}, {{3, {"", ""}}}), 3, 1, "Chair", seat},
        {languageTable({1, 3}, {{3, {"", "Si\xe8ge"}}}), 3, 3, "", "Si\xe8ge"},
        {MakeCtssBody({{0, "Chair", ""}, {0, "Seat", ""}, {3, "Chaise", ""}}), 1, 1, "Chair",
         "Seat"},
        {MakeCtssBody({{3, "Chaise", ""}, {1, "Chair", ""}, {3, "Si\xe8ge", ""}}), 3, 3, "Chaise",
         "Si\xe8ge"},
        {languageTable({4, 5}), 3, 4, "Chair", seat}, // without US English: the first set
        {header(0), 3, 0, kNone, kNone},
    };
    for (const auto& c : cases) {
        ProgramState.GameLanguage = c.game;
        Doc d(kObject, c.body);
        SCOPED_TRACE(c.body.toHex().toStdString() + " " + std::to_string(c.game));
        EXPECT_EQ(d.name(), c.name);
        EXPECT_EQ(d.description(), c.description);
        EXPECT_EQ(d.doc.GetCatalogLanguage(128), c.shown);
        // Looking and saving unchanged texts keeps every byte.
        EXPECT_TRUE(d.doc.SetCtss(128, d.name(), d.description()));
        EXPECT_EQ(d.doc.Resource("CTSS300").Body(), c.body);
    }
}

TEST(CatalogLanguages, AnEditReachesTheCopiesAndNeverTheTranslationsNorAMalformedText)
{
    StateGuard guard;
    const QList<int> all = upTo(20);
    // A language byte of 0 counts as US English.
    const QByteArray three =
        MakeCtssBody({{1, "Old", "c0"}, {0, "Old text", "c1"}, {2, "Alt", "c2"}});
    const QByteArray oneString = header(1) + '\1' + "Old" + z + "c" + z + "\xa3";
    const QByteArray two = MakeCatalogCtss("N", "D");
    using S = CtssScope;
    // Each row: the table, the game's language, the scope, the texts given, the table after (a
    // refused edit leaves it as it was).
    const struct {
        QByteArray body;
        quint8 game;
        CtssScope scope;
        QByteArray name, description, after;
    } cases[] = {
        // One set in a US English game: the bytes of the one-set writer.
        {languageTable({1}), 1, S::Copies, "New", "Seat\r\n",
         MakeCtssBody({{1, "New", "n1"}, {1, "Seat\r\n", "d1"}})},
        {languageTable(all, translated({3, 4})), 1, S::Copies, "New", "Seat\r\n",
         languageTable(all, translated({3, 4}), "New")},
        {languageTable(upTo(18), translated({3})), 2, S::Copies, "Chair", "Long",
         languageTable(upTo(18), translated({3}), "Chair", "Long")},
        {languageTable(all, translated({3})), 3, S::Copies, "Chaise", "Desc 3",
         languageTable(all, {{3, {"Chaise", "Desc 3"}}})},
        // No French set: the US English text the game shows, and its copies.
        {languageTable({1, 2, 4}, translated({4})), 3, S::Copies, "New", "Text",
         languageTable({1, 2, 4}, translated({4}), "New", "Text")},
        {languageTable(all, translated({3})), 1, S::ShownOnly, "New", "Text",
         languageTable(all, {{1, {"New", "Text"}}, {3, {"Name 3", "Desc 3"}}})},
        {languageTable(all), 2, S::ShownOnly, "New", "Seat\r\n",
         languageTable(all, {{2, {"New", "Seat\r\n"}}})},
        // Only strings 0 and 1 are written, and nothing malformed.
        {three, 1, S::Copies, "Chaise \xe0 bras", "Longer description",
         MakeCtssBody(
             {{1, "Chaise \xe0 bras", "c0"}, {0, "Longer description", "c1"}, {2, "Alt", "c2"}})},
        {oneString, 1, S::Copies, kName, "", header(1) + '\1' + kName + z + "c" + z + "\xa3"},
        {oneString, 1, S::Copies, kName, kText, oneString},
        {two, 1, S::Copies, "N", kText, MakeCatalogCtss("N", kText)},
        {two, 1, S::Copies, QByteArray("A\0B", 3), "D", two},
        {two, 1, S::Copies, "N", z, two},
    };
    for (const auto& c : cases) {
        ProgramState.GameLanguage = c.game;
        Doc d(kObject, c.body);
        EXPECT_EQ(d.doc.SetCtss(128, c.name, c.description, c.scope), c.after != c.body);
        EXPECT_EQ(d.doc.Resource("CTSS300").Body().toHex(), c.after.toHex());
    }
}

TEST(ObjdFields, WritesLandAtTheirOffsetsOnlyWhereTheWholeFieldFitsAndHeldValuesStay)
{
    // The low sixteen bits are kept.
    const SortSet given = {70000, -1, 64, 16, 0x8004, 128, 0x10002, 1, 300};
    const SortSet stored = {4464, 65535, 64, 16, 0x8004, 128, 2, 1, 300};
    for (const int size : {0, 33, 37, 38, 79, 209, 210, 300}) {
        // Disabled reads as "field == 1": 2, 256 and 0xFFFF read as not disabled and stay so.
        for (const quint16 flag : {0, 1, 2, 256, 0xFFFF}) {
            const QByteArray body = withWord(patterned(300), 32, flag).left(size);
            SCOPED_TRACE(std::to_string(size) + " " + std::to_string(flag));
            Doc d(body);
            const bool disabled = d.doc.GetDisabled(128);
            EXPECT_EQ(disabled, size >= 33 && flag == 1);
            EXPECT_TRUE(d.doc.SetDisabled(128, disabled));
            EXPECT_TRUE(d.doc.SetPrice(128, d.doc.GetPrice(128)));
            EXPECT_TRUE(d.doc.SetSorts(128, d.doc.GetSorts(128)));
            // No CTSS under its catalog strings ID: no text, and none is ever written.
            EXPECT_EQ(d.name() + d.description(), kNone + kNone);
            EXPECT_EQ(d.doc.GetCatalogTextAccess(128).reason, "The object has no catalog text.");
            EXPECT_TRUE(d.doc.SetCtss(128, "New", "Text"));
            EXPECT_EQ(Records(d.doc), Records(Doc(body).doc));
            // The first eight sort fields would fit a 209-byte body; none is written.
            EXPECT_EQ(d.doc.SetDisabled(128, !disabled), size >= 34);
            EXPECT_EQ(d.doc.SetPrice(128, -1), size >= 38);
            EXPECT_EQ(d.doc.SetSorts(128, given), size >= 210);
            QByteArray expected = body;
            if (size >= 34)
                expected = withWord(expected, 32, disabled ? 0 : 1);
            if (size >= 38)
                expected = withWord(expected, 36, 65535);
            for (int slot = 0; slot < 9 && size >= 210; ++slot)
                expected = withWord(expected, kSortOffsets[slot], quint16(stored[slot]));
            EXPECT_EQ(d.doc.Resource("OBJD128").Body(), expected);
            EXPECT_EQ(d.doc.GetSorts(128), size >= 210 ? stored : Doc(body).doc.GetSorts(128));
        }
    }
}

// "objd" and "ctss" chunks fold to the keys of the real ones; before or after them, they are
// never read or written, and an "objd" alone is no object.
TEST(ObjdFields, OnlyChunksTypedExactlyObjdAndCtssAreReadAndWritten)
{
    const auto file = [](bool decoysFirst, const ObjdSpec& spec, const QByteArray& text) {
        const QByteArray decoys = Chunk("objd", 128, patterned(), "decoy") +
                                  Chunk("objd", 129, patterned()) +
                                  Chunk("ctss", 300, MakeCatalogCtss("Decoy", "text"));
        const QByteArray real =
            Chunk("OBJD", 128, MakeObjdBody(spec), "Chair") + Chunk("CTSS", 300, text);
        return IffHeader() + (decoysFirst ? decoys + real : real + decoys);
    };
    const ObjdSpec edited{.disabled = 1, .price = 99, .catalogStringsId = 300, .sorts = {7, 8}};
    for (const bool decoysFirst : {true, false}) {
        clsIFF doc, expected;
        ASSERT_TRUE(
            doc.LoadData(file(decoysFirst, CatalogObject(300, 250), MakeCatalogCtss("N", "D"))));
        RecordingList list;
        doc.GenerateObjectList(list);
        EXPECT_EQ(list.rows, Rows{"OBJD128|Chair|128"});
        EXPECT_EQ(doc.GetName(128) + doc.GetDescription(128), "ND");
        EXPECT_EQ(doc.GetPrice(128), 250);
        EXPECT_EQ(doc.GetName(129) + doc.GetDescription(129), kNone + kNone);
        EXPECT_THROW(doc.GetPrice(129), IffError);
        EXPECT_THROW(doc.GetSorts(300), IffError); // a CTSS with that ID is no OBJD
        EXPECT_FALSE(doc.SetCtss(129, "New", "Text") || doc.SetPrice(129, 5) ||
                     doc.SetDisabled(129, true) || doc.SetSorts(129, SortSet{1, 1, 1}));
        EXPECT_TRUE(doc.SetPrice(128, 99) && doc.SetDisabled(128, true) &&
                    doc.SetSorts(128, edited.sorts) && doc.SetCtss(128, "New", "Text"));
        ASSERT_TRUE(expected.LoadData(file(decoysFirst, edited, MakeCatalogCtss("New", "Text"))));
        EXPECT_EQ(Records(doc).toHex(), Records(expected).toHex());
    }
}

TEST(CatalogIcon, BmpUnderTheCatalogStringsIdWinsElseTheFirstNamedCatalogOrFaces)
{
    const QByteArray red = MakeBmp(74, 37, qRgb(220, 10, 10)),
                     green = MakeBmp(74, 37, qRgb(10, 200, 10));
    const QImage icon = QImage::fromData(green), none;
    QImage placeholder(8, 8, QImage::Format_RGB32);
    placeholder.fill(qRgb(1, 2, 3));
    const auto object = [](quint16 id) {
        return CatalogFixture().objd(128, "o", CatalogObject(id));
    };
    // A header claiming 60000 x 60000 pixels is refused, not allocated.
    QByteArray huge = red;
    huge.replace(18, 8, QByteArray::fromHex("60ea000060ea0000"));
    const std::tuple<CatalogFixture, QImage> cases[] = {
        {object(32767).bmp(12, "Catalog", red).bmp(32767, "x", green), icon},
        {object(130)
             .bmp(10, "catalog", red)
             .bmp(11, "Catalog2", red)
             .bmp(12, "Face", red)
             .bmp(13, "faces", green)
             .bmp(14, "Catalog", red),
         icon},
        // An OBJD too short for CatalogStringsID counts as ID 0.
        {CatalogFixture()
             .objd(128, "o", {.bodySize = ObjdField::CatalogStringsID})
             .bmp(130, "x", red)
             .bmp(12, "faces", green),
         icon},
        // A "Catalog" BMP_ 0 does not end the walk...
        {object(77).bmp(0, "Catalog", red).bmp(5, "Catalog", green), icon},
        // ...but CatalogStringsID 0 with a BMP_ 0 present means no icon at all.
        {object(0).bmp(0, "Catalog", red).bmp(9, "Catalog", green), placeholder},
        {object(130).ctss(130, MakeCatalogCtss("a", "b")), placeholder},
        // IDs from 32768 count as 0: no BMP_ under them, and a BMP_ 0 means no icon.
        {object(40000).bmp(40000, "x", red).bmp(12, "Catalog", green), icon},
        {object(40000).bmp(40000, "x", red).bmp(0, "zero", red).bmp(12, "Catalog", green),
         placeholder},
        // An undecodable body gives no picture, not the placeholder.
        {object(130).bmp(130, "Catalog", red.left(30)), none},
        {object(130).bmp(130, "Catalog", huge), none},
    };
    // The icon never passes through a file: a user's "temp" in the program folder stays.
    QTemporaryDir folder;
    StateGuard guard;
    const QString oldCurrent = QDir::currentPath();
    ProgramState.ProgramFolder = folder.path() + "/";
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    WriteFile(folder.filePath("temp"), "keep me");
    for (const auto& [fixture, expected] : cases)
        EXPECT_TRUE(Doc(fixture).doc.GetIcon(128, placeholder) == expected)
            << fixture.fileBytes().toHex().left(400).data();
    QDir::setCurrent(oldCurrent);
    EXPECT_EQ(ReadFile(folder.filePath("temp")), "keep me");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"temp"});
}

TEST(SortVocabulary, TownListsJumpTo128BuildModeKeysCountFromOne)
{
    QStringList rows; // value/key; no rows for slot 1 (it follows the function row) or beyond
    for (const QList<SortRow>& list :
         {SortRows(3), SortRows(8), SubFunctionRows(0), SubFunctionRows(6), SortRows(1),
          SortRows(9), SubFunctionRows(-1), SubFunctionRows(8)})
        for (const SortRow& r : list)
            rows << QString("%1/%2").arg(r.value).arg(r.keyNumber);
    EXPECT_EQ(rows.join(' '), "1/1 2/2 4/4 8/8 128/128 0/1 1/2 2/3 3/4 4/5 5/6 6/7 7/8 "
                              "1/1 2/2 4/4 8/8 16/16 1/1 2/2 4/4 8/8 16/16 32/32 64/64");
    EXPECT_EQ(SortCaption(8) + SortCaption(9), "Build Mode:");
}
