#include "IffBytes.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

QByteArray be32(quint32 value)
{
    return QByteArray::fromHex(QByteArray::number(value, 16).rightJustified(8, '0'));
}

class Save : public ::testing::Test
{
protected:
    QString path(const QString& name = "t.iff") const { return dir.filePath(name); }
    // Saves d to a file and returns its bytes.
    QByteArray saved(clsIFF& d, const QString& name = "out.iff")
    {
        EXPECT_TRUE(d.SaveFile(path(name))) << d.errorString().toStdString();
        return ReadFile(path(name));
    }
    bool load(const QByteArray& bytes)
    {
        WriteFile(path(), bytes);
        return doc.LoadFile(path());
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
};

} // namespace

TEST_F(Save, MapGroupsEntriesAndPads)
{
    // A document never loaded: the whole signature and an empty map.
    EXPECT_EQ(saved(doc), ProgramState.IffSignature25 + be32(64) + "rsmp" + be32(96) +
                              QByteArray::fromHex("00000010") + QByteArray(72, '\0') + "pmsr" +
                              QByteArray::fromHex("6000000000000000"));
    const QByteArray chunks = Chunk("OBJD", 128, "aa", "Catalog") +
                              Chunk("STR#", 128, "", "faces") + Chunk("OBJD", 129, "b", "") +
                              Chunk("BMP_", 0x8001, "", "icon", QByteArray("\x00\x10", 2));
    ASSERT_TRUE(load(IffHeader() + EmptyMapChunk() + chunks));
    const QByteArray out = saved(doc);
    // Chunks in list order from 64, the old map skipped, the new map last: per type
    // (reversed), a count; per chunk its offset, ID and unknown bytes, and name, with entries
    // padded to an even length (all little-endian).
    const qsizetype map = 64 + chunks.size();
    EXPECT_EQ(out.left(64), ProgramState.IffSignature25 + be32(map));
    EXPECT_EQ(out.mid(64, chunks.size()), chunks);
    EXPECT_EQ(out.mid(map).toHex(), "72736d70000000ae00000010" + QByteArray(144, '0') +
                                        "706d7372ae00000003000000" +
                                        "444a424f02000000"                 // OBJD: 2
                                        "4000000080000000436174616c6f6700" // 64 128 Catalog
                                        "da0000008100000000a3"             // 218 129 "" pad
                                        "2352545301000000"                 // STR#: 1
                                        "8e00000080000000666163657300"     // 142 128 faces
                                        "5f504d4201000000"                 // BMP_: 1
                                        "270100000180100069636f6e00a3");   // 295 0x8001 icon
}

TEST_F(Save, LoadSaveLoadSaveIsIdentityForAwkwardFiles)
{
    ASSERT_TRUE(load(IffHeader("2.0", "someone's own credit text", 999) +
                     Chunk("XXXX", 0, QByteArray(13, 'x')) + Chunk("OBJD", 128, "o1", "") +
                     EmptyMapChunk() + Chunk("OBJD", 128, "dup", "abcd") +
                     Chunk("objd", 128, "", "abcde") + Chunk("STR#", 0x8001, "s", "Catalog") +
                     Chunk("CTSS", 0xFFFF, "", QByteArray(63, 'c')) +
                     Chunk("BMP_", 0, QByteArray(1000, '\xA3'), QByteArray(64, 'b')) +
                     Chunk("XXXX", 1, "") + Chunk("tiny", 5, "", "lies", QByteArray(2, 'u'), 3) +
                     Chunk("last", 6, "cut short", "", QByteArray(2, '\0'), 500)));
    ASSERT_TRUE(doc.AddResource("XXXX", 3, "filler"));
    const int count = doc.ResourceCount();
    const QByteArray before = doc.Resource(1).PrintResource();
    const QByteArray first = saved(doc, "a.iff");
    // Saving changes nothing in the document.
    EXPECT_EQ(doc.ResourceCount(), count);
    EXPECT_EQ(doc.Resource(1).PrintResource(), before);
    clsIFF again;
    ASSERT_TRUE(again.LoadFile(path("a.iff")));
    // The old map gave way to the new one; the fillers are gone.
    ASSERT_EQ(again.ResourceCount(), count - 1);
    EXPECT_EQ(again.Resource(again.ResourceCount()).Format, "rsmp");
    EXPECT_FALSE(first.contains("filler") || first.contains("XXXX"));
    EXPECT_EQ(saved(again, "b.iff"), first);
    // Version text always 2.5; the file's own credit kept.
    EXPECT_EQ(first.left(60), ProgramState.IffSignature25.left(35) + "someone's own credit text");
    EXPECT_EQ(again.Resource("tiny5").Length, 76);
    EXPECT_EQ(again.Resource("last6").Body(), "cut short");
}

TEST_F(Save, BrokenRecordsOrAFailedWriteLeaveTheOldFileAndNoTemporaryFile)
{
    WriteFile(path(), "old contents");
    ASSERT_TRUE(doc.AddResource("OBJD", 1, ""));
    clsResource& r = doc.Resource(1);
    for (const auto& breakIt : std::initializer_list<std::function<void()>>{
             [&] { r.Format = "OBJ"; }, [&] { r.Unknown = "\x01"; }, [&] { r.Length = 100; }}) {
        r.Create("OBJD", 1, "");
        breakIt();
        EXPECT_FALSE(doc.SaveFile(path()));
        EXPECT_FALSE(doc.errorString().isEmpty());
    }
    // A sound record, but files may not grow past 64 KB: the write fails part way.
    r.Create("OBJD", 1, "");
    r.SetBody(QByteArray(1 << 20, 'b'));
    EXPECT_FALSE(WithFileSizeLimit(64 * 1024, [&] { return doc.SaveFile(path()); }));
    EXPECT_FALSE(doc.errorString().isEmpty());
    EXPECT_EQ(ReadFile(path()), "old contents");
    // The target is a folder; the folder does not exist.
    QDir(dir.path()).mkdir("folder.iff");
    WriteFile(path("folder.iff/keep"), "k");
    EXPECT_FALSE(doc.SaveFile(path("folder.iff")));
    EXPECT_EQ(ReadFile(path("folder.iff/keep")), "k");
    EXPECT_FALSE(doc.SaveFile(path("missing/x.iff")));
    // A name so long that no temporary file fits beside it; the file is read-only too.
    const QString longName = QString(250, 'n') + ".iff";
    WriteFile(path(longName), "old");
    QFile::setPermissions(path(longName), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_FALSE(doc.SaveFile(path(longName)));
    EXPECT_EQ(ReadFile(path(longName)), "old");
    EXPECT_EQ(QFileInfo(path(longName)).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(files(), QStringList({longName, "t.iff"}));
}

TEST_F(Save, ReadOnlyFileIsSavedAndStaysReadOnlyAlsoThroughALink)
{
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 1, "a")));
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeGroup;
    const auto writable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::link(path(), path("link.iff")));
    for (const auto& [permissions, name] : {std::pair{readOnly, QString("t.iff")},
                                            {writable, QString("t.iff")},
                                            {readOnly, QString("link.iff")}}) {
        ASSERT_TRUE(QFile::setPermissions(path(), permissions));
        doc.Resource(1).SetBody("saved as " + name.toLatin1());
        ASSERT_TRUE(doc.SaveFile(path(name))) << doc.errorString().toStdString();
        EXPECT_TRUE(QFileInfo(path("link.iff")).isSymLink());
        EXPECT_EQ(QFileInfo(path()).permissions() & 0x7077, permissions);
        EXPECT_EQ(ReadFile(path()).mid(64, 76 + 9 + name.size()),
                  Chunk("OBJD", 1, "saved as " + name.toLatin1()));
    }
}
