// Catalog name and description: finding the CTSS, cutting it into pieces, rewriting it.

#include "CatalogFixture.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <gtest/gtest.h>

namespace
{

const QByteArray kNone = "*NONE*", z(1, '\0');
// Catalog text as real files hold it: Windows-1252 letters, CR LF, a lone CR, 0xA0.
const QByteArray kName = "Caf\xe9 \x80 lamp\xa0";
const QByteArray kText = "Line one\r\nline \xe0 two\rthree\xa0" + QByteArray(120, 'x');

QByteArray header(int count)
{
    return QByteArray::fromHex("fdff") + char(count) + z;
}
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
            return out + text;
    }
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
    // Every record of the document, to show that nothing else changed.
    QByteArray all() const
    {
        QByteArray out;
        for (int i = 1; i <= doc.ResourceCount(); ++i)
            out += doc.Resource(i).PrintResource();
        return out;
    }
};

} // namespace

TEST(CatalogText, NameIsStringZeroDescriptionStringOneAndWritingThemBackChangesNothing)
{
    const QString damaged = "The catalog text is damaged, so Kestrane does not change it.";
    const QString noText = "The object has no catalog text.",
                  noDescription = "The catalog text holds no description.";
    // Which texts can be written: 2 both, 1 the name only, 0 none, for the reason given.
    const std::tuple<QByteArray, QByteArray, QByteArray, int, QString> cases[] = {
        {MakeCatalogCtss("Chair", "Sit on it"), "Chair", "Sit on it", 2, ""},
        // Language codes and further strings do not matter; bytes pass through undecoded.
        {MakeCtssBody({{6, "Nom", "c0"}, {9, "D\xe9sc", "c1"}, {1, "X", ""}}), "Nom", "D\xe9sc", 2,
         ""},
        // String 0 only: its final 0 byte yields an empty piece 2, an empty description.
        {header(1) + '\1' + "Name" + z + "note" + z + "\xa3", "Name", "", 1, noDescription},
        // One byte past the header: a name, too few pieces for a description.
        {header(1) + '\1' + 'X', "X", kNone, 0, damaged},
        {header(1) + "\1N" + z + "c", "N", kNone, 1, noDescription}, // a comment cut off
        {header(0) + "\1N" + z + z, "N", "", 0, damaged},
        {MakeCatalogCtss("Sofa", "Soft") + '\xa3', "Sofa", "Soft", 2, ""}, // one pad byte more
        {header(2) + "\1N" + z + z + "\1D" + z, "N", "D", 2, ""},          // empty last piece
        {header(2) + "\1N" + z + z + "\1D", "N", "D", 1,
         "The catalog description is damaged, so Kestrane does not change it."},
        {MakeCatalogCtss("", ""), "", "", 2, ""},
        // Too short for a name: no text, and none is ever written.
        {QByteArray(), kNone, kNone, 0, noText},
        {QByteArray("\xfd"), kNone, kNone, 0, noText},
        {header(1), kNone, kNone, 0, noText},
        {header(1) + '\1', kNone, kNone, 0, noText},
        {QByteArray::fromHex("fcff01020000"), kNone, kNone, 0,
         "The catalog text is in a format Kestrane cannot change (0xFFFC)."},
        {QByteArray::fromHex("3412"), kNone, kNone, 0,
         "The catalog text is in a format Kestrane cannot change (0x1234)."}};
    for (const auto& [body, name, description, writable, reason] : cases) {
        Doc d(body);
        SCOPED_TRACE(body.toHex().constData());
        EXPECT_EQ(d.name(), name);
        EXPECT_EQ(d.description(), description);
        const CatalogTextAccess access = d.doc.GetCatalogTextAccess(128);
        EXPECT_EQ(access.nameWritable, writable >= 1);
        EXPECT_EQ(access.descriptionWritable, writable == 2);
        EXPECT_EQ(access.reason, reason);
        const QByteArray before = d.all();
        EXPECT_TRUE(d.doc.SetCtss(128, d.name(), d.description()));
        if (writable < 2)
            EXPECT_EQ(d.doc.SetCtss(128, "New", "Text"), reason == noText);
        EXPECT_EQ(d.all(), before);
        EXPECT_EQ(d.doc.Resource("CTSS300").Length, 76 + body.size());
    }
}

TEST(CatalogText, NoTextReadsNoneAndIsNeverWritten)
{
    // No CTSS under the object's ID; an OBJD the document does not hold.
    Doc d(CatalogFixture()
              .objd(128, "other", CatalogObject(301))
              .ctss(300, MakeCatalogCtss("a", "b")));
    const QByteArray before = d.all();
    for (const quint16 objd : {128, 129}) {
        EXPECT_EQ(d.doc.GetName(objd), kNone);
        EXPECT_EQ(d.doc.GetDescription(objd), kNone);
        EXPECT_EQ(d.doc.GetCatalogTextAccess(objd).reason, "The object has no catalog text.");
        EXPECT_EQ(d.doc.SetCtss(objd, "New", "Text"), objd == 128);
    }
    EXPECT_EQ(d.all(), before);
}

TEST(CatalogText, ShortObjdReadsCatalogStringsIdFromTheBytesPresent)
{
    ObjdSpec none = CatalogObject(0x012A), half = CatalogObject(0x012A);
    none.bodySize = ObjdField::CatalogStringsID;     // wholly beyond: 0
    half.bodySize = ObjdField::CatalogStringsID + 1; // low byte only: 0x2A
    Doc d(CatalogFixture()
              .objd(128, "none", none)
              .objd(129, "half", half)
              .ctss(0, MakeCatalogCtss("zero", "z"))
              .ctss(0x2A, MakeCatalogCtss("forty-two", "f")));
    EXPECT_EQ(d.doc.GetName(128), "zero");
    EXPECT_EQ(d.doc.GetName(129), "forty-two");
}

TEST(SetCtss, WritesOnlyStringsZeroAndOneAndNothingMalformed)
{
    const QByteArray three =
        MakeCtssBody({{1, "Old", "c0"}, {7, "Old text", "c1"}, {2, "Alt", "c2"}});
    const QByteArray rest = "c1" + z + '\2' + "Alt" + z + "c2" + z + "\xa3\xa3\xa3";
    const QByteArray oneString = header(1) + '\1' + "Old" + z + "c" + z + "\xa3";
    const QByteArray two = MakeCatalogCtss("N", "D");
    const struct {
        QByteArray body, name, description;
        bool result;
        QByteArray after;
    } cases[] = {
        {three, "Chaise \xe0 bras", "Longer description", true,
         header(3) + '\1' + "Chaise \xe0 bras" + z + "c0" + z + '\7' + "Longer description" + z +
             rest},
        {three, "", "", true, header(3) + '\1' + z + "c0" + z + '\7' + z + rest},
        {oneString, kName, "", true, header(1) + '\1' + kName + z + "c" + z + "\xa3"},
        {oneString, "Old", kText, false, oneString},
        {oneString, kName, kText, false, oneString},
        {two, "N", kText, true, MakeCatalogCtss("N", kText)},
        {two, kName, kText, true, MakeCatalogCtss(kName, kText)},
        {two, QByteArray("A\0B", 3), "D", false, two},
        {two, "N", z, false, two},
    };
    for (const auto& c : cases) {
        Doc d(c.body);
        SCOPED_TRACE(c.body.toHex().constData());
        EXPECT_EQ(d.doc.SetCtss(128, c.name, c.description), c.result);
        EXPECT_EQ(d.ctss(), c.after);
        EXPECT_EQ(d.doc.Resource("CTSS300").Length, 76 + c.after.size());
    }
}

TEST(CatalogText, OtherFormatsShowTheFirstLanguageAndAreNeverWritten)
{
    const std::tuple<QByteArray, QByteArray, QByteArray> cases[] = {
        {word(0) + word(2) + char(kName.size()) + kName + char(kText.size()) + kText, kName, kText},
        {word(0xFFFF) + word(3) + kName + z + kText + z + "third" + z, kName, kText},
        {word(0xFFFE) + word(2) + kName + z + "c" + z + kText + z + z, kName, kText},
        {word(0xFFFC) + '\2' + word(2) + z + varString(kName) + varString("c") + z +
             varString(kText) + varString("") + word(1) + '\1' + varString("Fr") + varString(""),
         kName, kText},
        {word(0xFFFF) + word(1) + kName + z, kName, ""}, // a name only
        // A counted string holding a 0 byte reads up to it.
        {word(0) + word(2) + '\5' + "ab" + z + "cd" + '\1' + "D", "ab", "D"},
        {word(0xFFFC) + z, kNone, kNone}, // no language set
        {word(0x1234) + word(2) + kName + z + kText + z, kNone, kNone},
    };
    for (const auto& [body, name, description] : cases) {
        // Every cut of the body reads whole strings or none, inside the body.
        for (qsizetype size = body.size(); size >= 0; --size) {
            Doc d(body.left(size));
            SCOPED_TRACE(body.left(size).toHex().constData());
            const bool cut = size < body.size();
            EXPECT_TRUE(d.name() == name || (cut && d.name() == kNone)) << d.name().data();
            EXPECT_TRUE(d.description() == description || (cut && d.description() == kNone));
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
