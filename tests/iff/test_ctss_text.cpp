// Catalog name and description: finding the CTSS, cutting it into pieces, rewriting it.

#include "CatalogFixture.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

const QByteArray kNone = "*NONE*";
const char kNul = '\0';

QByteArray header(int count)
{
    return QByteArray::fromHex("fdff") + char(count) + kNul;
}

// Catalog text as real files hold it: Windows-1252 letters, CR LF, a lone CR, 0xA0.
const QByteArray kName = "Caf\xe9 \x80 lamp\xa0";
const QByteArray kText = "Line one\r\nline \xe0 two\rthree\xa0" + QByteArray(120, 'x');

QByteArray word(quint16 value)
{
    return QByteArray(1, char(value & 0xFF)) + char(value >> 8);
}
// A string with a 7-bit length prefix, as the language-set format holds it.
QByteArray varString(const QByteArray& text)
{
    QByteArray out;
    for (quint32 length = quint32(text.size());; length >>= 7) {
        out += char((length & 0x7F) | (length > 0x7F ? 0x80 : 0));
        if (length <= 0x7F)
            break;
    }
    return out + text;
}

// OBJD 128 pointing at CTSS 300, which holds body.
struct Doc {
    clsIFF doc;
    explicit Doc(const QByteArray& body)
        : Doc(CatalogFixture().objd(128, "o", CatalogObject(300)).ctss(300, body))
    {
    }
    explicit Doc(const CatalogFixture& file) { EXPECT_TRUE(file.loadInto(doc)); }
    QByteArray name() const { return doc.GetName(128); }
    QByteArray description() const { return doc.GetDescription(128); }
    QByteArray ctss() const { return doc.Resource("CTSS300").Body(); }
    // Every body of the document, to show that nothing else changed.
    QByteArray all() const
    {
        QByteArray out;
        for (int i = 1; i <= doc.ResourceCount(); ++i)
            out += doc.Resource(i).Key() + ":" + doc.Resource(i).Body().toHex() + ";";
        return out;
    }
};

} // namespace

TEST(CatalogText, NameIsStringZeroDescriptionStringOne)
{
    const std::tuple<QByteArray, QByteArray, QByteArray> cases[] = {
        {MakeCatalogCtss("Chair", "Sit on it"), "Chair", "Sit on it"},
        // Language codes and further strings do not matter; bytes pass through undecoded.
        {MakeCtssBody({{6, "Nom", "c0"}, {9, "D\xe9sc", "c1"}, {1, "X", ""}}), "Nom", "D\xe9sc"},
        // String 0 only: its final 0 byte yields an empty piece 2, an empty description.
        {header(1) + '\1' + "Name" + kNul + "note" + kNul, "Name", ""},
        // One byte past the header: a name, too few pieces for a description.
        {header(1) + '\1' + 'X', "X", kNone}};
    for (const auto& [body, name, description] : cases) {
        Doc d(body);
        EXPECT_EQ(d.name(), name);
        EXPECT_EQ(d.description(), description);
    }
}

TEST(CatalogText, NoTextReadsNoneAndIsNeverWritten)
{
    QList<CatalogFixture> files = {
        CatalogFixture().objd(128, "no ctss", CatalogObject(300)),
        CatalogFixture()
            .objd(128, "other", CatalogObject(301))
            .ctss(300, MakeCatalogCtss("a", "b")),
    };
    for (const QByteArray& body : {QByteArray(), QByteArray("\xfd"), header(1), header(1) + '\1'})
        files.append(CatalogFixture().objd(128, "tiny", CatalogObject(300)).ctss(300, body));
    for (const CatalogFixture& file : files) {
        Doc d(file);
        EXPECT_EQ(d.name(), kNone);
        EXPECT_EQ(d.description(), kNone);
        const QByteArray before = d.all();
        EXPECT_TRUE(d.doc.SetCtss(128, "New", "Text"));
        EXPECT_EQ(d.all(), before);
    }
    // A name whose string is cut off cannot be written: refused, nothing changes.
    Doc two(header(1) + "\1N" + kNul + "c");
    const QByteArray before = two.all();
    EXPECT_FALSE(two.doc.SetCtss(128, "New", "Text"));
    EXPECT_EQ(two.all(), before);
    // An OBJD the document does not hold reads none and is refused.
    EXPECT_EQ(two.doc.GetName(999), kNone);
    EXPECT_FALSE(two.doc.SetCtss(129, "New", "Text"));
    EXPECT_EQ(two.all(), before);
}

TEST(CatalogText, ShortObjdReadsCatalogStringsIdFromTheBytesPresent)
{
    ObjdSpec none = CatalogObject(0x012A);
    none.bodySize = ObjdField::CatalogStringsID; // wholly beyond: 0
    ObjdSpec half = CatalogObject(0x012A);
    half.bodySize = ObjdField::CatalogStringsID + 1; // low byte only: 0x2A
    Doc d(CatalogFixture()
              .objd(128, "none", none)
              .objd(129, "half", half)
              .ctss(0, MakeCatalogCtss("zero", "z"))
              .ctss(0x2A, MakeCatalogCtss("forty-two", "f")));
    EXPECT_EQ(d.doc.GetName(128), "zero");
    EXPECT_EQ(d.doc.GetName(129), "forty-two");
}

TEST(SetCtss, CurrentTextsLeaveEveryByteAsItWas)
{
    const QList<QByteArray> bodies = {
        MakeCtssBody({{1, "N", "comment 0"}, {1, "D", "comment 1"}, {2, "Stuhl", "x"}}),
        MakeCatalogCtss("Sofa", "Soft") + '\xa3',                 // one pad byte more than strings
        header(2) + '\1' + "N" + kNul + kNul + '\1' + "D" + kNul, // empty last piece
        header(1) + '\1' + "N" + kNul + "c" + kNul,
        MakeCatalogCtss("", ""),
    };
    for (const QByteArray& body : bodies) {
        Doc d(body);
        const QByteArray before = d.all();
        EXPECT_TRUE(d.doc.SetCtss(128, d.name(), d.description()));
        EXPECT_EQ(d.all(), before) << body.toHex().constData();
        EXPECT_EQ(d.doc.Resource("CTSS300").Length, 76 + body.size());
    }
}

TEST(SetCtss, NewTextsReplaceOnlyStringsZeroAndOne)
{
    const QByteArray body =
        MakeCtssBody({{1, "Old", "c0"}, {7, "Old text", "c1"}, {2, "Alt", "c2"}});
    Doc d(body);
    ASSERT_TRUE(d.doc.SetCtss(128, "Chaise \xe0 bras", "Longer description"));
    const QByteArray expected = header(3) + '\1' + "Chaise \xe0 bras" + kNul + "c0" + kNul + '\7' +
                                "Longer description" + kNul + "c1" + kNul + '\2' + "Alt" + kNul +
                                "c2" + kNul + "\xa3\xa3\xa3";
    EXPECT_EQ(d.ctss(), expected);
    EXPECT_EQ(d.doc.Resource("CTSS300").Length, 76 + expected.size());
    EXPECT_EQ(d.name(), "Chaise \xe0 bras");

    ASSERT_TRUE(d.doc.SetCtss(128, "", ""));
    EXPECT_EQ(d.ctss(), header(3) + '\1' + kNul + "c0" + kNul + '\7' + kNul + "c1" + kNul + '\2' +
                            "Alt" + kNul + "c2" + kNul + "\xa3\xa3\xa3");
    ASSERT_TRUE(d.doc.SetCtss(128, "Old", "Old text"));
    EXPECT_EQ(d.ctss(), body);
}

TEST(CatalogText, AccessSaysWhichTextsCanBeWritten)
{
    const QString damaged = "The catalog text is damaged, so Kestrane does not change it.";
    const struct {
        QByteArray body;
        bool name, description;
        QString reason;
    } cases[] = {
        {MakeCatalogCtss("N", "D"), true, true, ""},
        {header(1) + "\1N" + kNul + "c" + kNul + "\xa3", true, false,
         "The catalog text holds no description."},
        {header(2) + "\1N" + kNul + kNul + "\1D", true, false,
         "The catalog description is damaged, so Kestrane does not change it."},
        {header(1) + "\1N", false, false, damaged},
        {header(0) + "\1N" + kNul + kNul, false, false, damaged},
        {header(1) + '\1', false, false, "The object has no catalog text."},
        {QByteArray::fromHex("fcff01020000"), false, false,
         "The catalog text is in a format Kestrane cannot change (0xFFFC)."},
        {QByteArray::fromHex("3412"), false, false,
         "The catalog text is in a format Kestrane cannot change (0x1234)."},
    };
    for (const auto& c : cases) {
        Doc d(c.body);
        const CatalogTextAccess access = d.doc.GetCatalogTextAccess(128);
        EXPECT_EQ(access.nameWritable, c.name) << c.body.toHex().constData();
        EXPECT_EQ(access.descriptionWritable, c.description) << c.body.toHex().constData();
        EXPECT_EQ(access.reason, c.reason) << c.body.toHex().constData();
    }
    EXPECT_EQ(Doc(MakeCatalogCtss("N", "D")).doc.GetCatalogTextAccess(129).reason,
              "The object has no catalog text.");
}

TEST(CatalogText, OtherFormatsShowTheFirstLanguageAndAreNeverWritten)
{
    const QByteArray z(1, kNul);
    const struct {
        QByteArray body;
        QByteArray name, description;
    } cases[] = {
        {word(0) + word(2) + char(kName.size()) + kName + char(kText.size()) + kText, kName, kText},
        {word(0xFFFF) + word(3) + kName + z + kText + z + "third" + z, kName, kText},
        {word(0xFFFE) + word(2) + kName + z + "c" + z + kText + z + z, kName, kText},
        {word(0xFFFC) + '\2' + word(2) + kNul + varString(kName) + varString("c") + kNul +
             varString(kText) + varString("") + word(1) + '\1' + varString("Fr") + varString(""),
         kName, kText},
        {word(0xFFFF) + word(1) + kName + z, kName, ""}, // a name only
        // A counted string holding a 0 byte reads up to it.
        {word(0) + word(2) + '\5' + "ab" + z + "cd" + '\1' + "D", "ab", "D"},
        {word(0xFFFC) + kNul, kNone, kNone}, // no language set
        {word(0x1234) + word(2) + kName + z + kText + z, kNone, kNone},
    };
    for (const auto& c : cases) {
        // Every cut of the body reads whole strings or none, inside the body.
        for (qsizetype size = c.body.size(); size >= 0; --size) {
            Doc d(c.body.left(size));
            SCOPED_TRACE(c.body.left(size).toHex().constData());
            const bool cut = size < c.body.size();
            EXPECT_TRUE(d.name() == c.name || (cut && d.name() == kNone)) << d.name().data();
            EXPECT_TRUE(d.description() == c.description || (cut && d.description() == kNone));
            const CatalogTextAccess access = d.doc.GetCatalogTextAccess(128);
            EXPECT_FALSE(access.nameWritable || access.descriptionWritable);
            const QByteArray before = d.all();
            EXPECT_TRUE(d.doc.SetCtss(128, d.name(), d.description()));
            if (d.name() != kNone)
                EXPECT_FALSE(d.doc.SetCtss(128, "New", d.description()));
            EXPECT_EQ(d.all(), before);
        }
    }
}

TEST(SetCtss, WritesOnlyWhatTheTextHoldsAndNothingMalformed)
{
    const QByteArray oneString = header(1) + '\1' + "Old" + kNul + "c" + kNul + "\xa3";
    const QByteArray two = MakeCatalogCtss("N", "D");
    const struct {
        QByteArray body, name, description;
        bool result;
        QByteArray after;
    } cases[] = {
        {oneString, kName, "", true, header(1) + '\1' + kName + kNul + "c" + kNul + "\xa3"},
        {oneString, "Old", kText, false, oneString},
        {oneString, kName, kText, false, oneString},
        {two, "N", kText, true, MakeCatalogCtss("N", kText)},
        {two, kName, kText, true, MakeCatalogCtss(kName, kText)},
        {two, QByteArray("A\0B", 3), "D", false, two},
        {two, "N", QByteArray("\0", 1), false, two},
    };
    for (const auto& c : cases) {
        Doc d(c.body);
        SCOPED_TRACE(c.body.toHex().constData());
        EXPECT_EQ(d.doc.SetCtss(128, c.name, c.description), c.result);
        EXPECT_EQ(d.ctss(), c.after);
        EXPECT_EQ(d.doc.Resource("CTSS300").Length, 76 + c.after.size());
    }
}
