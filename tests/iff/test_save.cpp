#include "IffBytes.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

quint32 le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint32 be32(const QByteArray& b, qsizetype at)
{
    return qFromBigEndian<quint32>(b.constData() + at);
}

class Save : public ::testing::Test
{
protected:
    QString path(const QString& name = "t.iff") const { return dir.filePath(name); }
    // Saves doc to a file and returns its bytes.
    QByteArray saved(clsIFF& d, const QString& name = "out.iff")
    {
        EXPECT_TRUE(d.SaveFile(path(name))) << d.errorString().toStdString();
        return ReadFile(path(name));
    }
    bool load(clsIFF& d, const QByteArray& bytes)
    {
        WriteFile(path(), bytes);
        return d.LoadFile(path());
    }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
};

} // namespace

TEST_F(Save, NeverLoadedEmptyDocumentIsWholeSignatureAndEmptyMap)
{
    const QByteArray out = saved(doc);
    ASSERT_EQ(out.size(), 160);
    EXPECT_EQ(out.left(60), ProgramState.IffSignature25);
    EXPECT_EQ(be32(out, 60), 64u);
    EXPECT_EQ(out.mid(64), QByteArray("rsmp\0\0\0\x60\0\0\0\x10", 12) + QByteArray(72, '\0') +
                               QByteArray("pmsr\x60\0\0\0\0\0\0\0", 12));
}

TEST_F(Save, MapGroupsEntriesAndPads)
{
    const QByteArray chunks = Chunk("OBJD", 128, "aa", "Catalog") +
                              Chunk("STR#", 128, "", "faces") + Chunk("OBJD", 129, "b", "") +
                              Chunk("BMP_", 0x8001, "", "icon", QByteArray("\x00\x10", 2));
    ASSERT_TRUE(load(doc, IffHeader() + EmptyMapChunk() + chunks));
    const QByteArray out = saved(doc);
    // Chunks in list order from 64, the old map skipped, the new map last.
    EXPECT_EQ(out.mid(64, chunks.size()), chunks);
    const qsizetype map = 64 + chunks.size();
    ASSERT_EQ(be32(out, 60), quint32(map));
    ASSERT_EQ(out.mid(map, 4), "rsmp");
    const QByteArray m = out.mid(map);
    EXPECT_EQ(be32(m, 4), quint32(m.size()));
    EXPECT_EQ(le32(m, 88), quint32(m.size()));
    EXPECT_EQ(le32(m, 92), 3u);
    // Per type (reversed), a count; per chunk its offset, ID and unknown bytes, and name, with
    // entries padded to an even length (all little-endian).
    EXPECT_EQ(m.mid(96).toHex(), QByteArray("444a424f02000000"                 // OBJD: 2
                                            "4000000080000000436174616c6f6700" // 64 128 Catalog
                                            "da0000008100000000a3"             // 218 129 "" pad
                                            "2352545301000000"                 // STR#: 1
                                            "8e00000080000000666163657300"     // 142 128 faces
                                            "5f504d4201000000"                 // BMP_: 1
                                            "270100000180100069636f6e00a3"));  // 295 0x8001 icon
}

TEST_F(Save, LoadSaveLoadSaveIsIdentityForAwkwardFiles)
{
    QByteArray file = IffHeader("2.0", "someone's own credit text", 999) +
                      Chunk("XXXX", 0, QByteArray(13, 'x')) + Chunk("OBJD", 128, "o1", "") +
                      EmptyMapChunk() + Chunk("OBJD", 128, "dup", "abcd") +
                      Chunk("objd", 128, "", "abcde") + Chunk("STR#", 0x8001, "s", "Catalog") +
                      Chunk("CTSS", 0xFFFF, "", QByteArray(63, 'c')) +
                      Chunk("BMP_", 0, QByteArray(1000, '\xA3'), QByteArray(64, 'b')) +
                      Chunk("XXXX", 1, "") + Chunk("tiny", 5, "", "lies", QByteArray(2, 'u'), 3) +
                      Chunk("last", 6, "cut short", "", QByteArray(2, '\0'), 500);
    ASSERT_TRUE(load(doc, file));
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
    EXPECT_FALSE(first.contains("filler"));
    const QByteArray second = saved(again, "b.iff");
    EXPECT_EQ(first, second);
    // Version text always 2.5; the file's own credit kept.
    EXPECT_EQ(first.left(35), ProgramState.IffSignature25.left(35));
    EXPECT_EQ(first.mid(35, 25), "someone's own credit text");
    EXPECT_EQ(again.Resource("tiny5").Length, 76);
    EXPECT_EQ(again.Resource("last6").Body(), "cut short");
    for (int i = 1; i <= again.ResourceCount(); ++i)
        EXPECT_NE(again.Resource(i).Format, "XXXX");
}

TEST_F(Save, BrokenRecordsOrAWriteErrorPartWayLeaveTheOldFile)
{
    WriteFile(path(), "old contents");
    ASSERT_TRUE(doc.AddResource("OBJD", 1, ""));
    doc.Resource(1).Format = "OBJ";
    EXPECT_FALSE(doc.SaveFile(path()));
    EXPECT_FALSE(doc.errorString().isEmpty());
    doc.Resource(1).Format = "OBJD";
    doc.Resource(1).Unknown = "\x01";
    EXPECT_FALSE(doc.SaveFile(path()));
    doc.Resource(1).Unknown = QByteArray(2, '\0');
    doc.Resource(1).Length = 100; // disagrees with the body
    EXPECT_FALSE(doc.SaveFile(path()));
    // A sound record, but files may not grow past 64 KB: the write fails part way.
    doc.Resource(1).SetBody(QByteArray(1 << 20, 'b'));
    EXPECT_FALSE(WithFileSizeLimit(64 * 1024, [&] { return doc.SaveFile(path()); }));
    EXPECT_FALSE(doc.errorString().isEmpty());
    EXPECT_EQ(ReadFile(path()), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"t.iff"}));
}

TEST_F(Save, FailedWritesLeaveTheOldFileAndNoTemporaryFile)
{
    ASSERT_TRUE(doc.AddResource("OBJD", 1, ""));
    // The target is a folder.
    QDir(dir.path()).mkdir("folder.iff");
    WriteFile(path("folder.iff/keep"), "k");
    EXPECT_FALSE(doc.SaveFile(path("folder.iff")));
    EXPECT_FALSE(doc.errorString().isEmpty());
    EXPECT_EQ(ReadFile(path("folder.iff/keep")), "k");
    // The folder does not exist.
    EXPECT_FALSE(doc.SaveFile(path("missing/x.iff")));
    // A name so long that no temporary file fits beside it; the file is read-only too.
    const QString longName = QString(250, 'n') + ".iff";
    WriteFile(path(longName), "old");
    QFile::setPermissions(path(longName), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_FALSE(doc.SaveFile(path(longName)));
    EXPECT_EQ(ReadFile(path(longName)), "old");
    EXPECT_EQ(QFileInfo(path(longName)).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({longName}));
}

TEST_F(Save, ReadOnlyFileIsSavedAndStaysReadOnly)
{
    ASSERT_TRUE(load(doc, IffHeader() + Chunk("OBJD", 1, "a")));
    doc.Resource(1).SetBody("changed");
    const auto readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(path(), readOnly));
    ASSERT_TRUE(doc.SaveFile(path())) << doc.errorString().toStdString();
    EXPECT_EQ(QFileInfo(path()).permissions() & 0x7077, readOnly);
    clsIFF back;
    ASSERT_TRUE(back.LoadFile(path()));
    EXPECT_EQ(back.Resource("OBJD1").Body(), "changed");

    const auto writable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path(), writable));
    ASSERT_TRUE(doc.SaveFile(path()));
    EXPECT_EQ(QFileInfo(path()).permissions() & 0x7077, writable);

    // Saved through a link, the link stays a link to the read-only file.
    ASSERT_TRUE(QFile::setPermissions(path(), readOnly));
    ASSERT_TRUE(QFile::link(path(), path("link.iff")));
    doc.Resource(1).SetBody("through the link");
    ASSERT_TRUE(doc.SaveFile(path("link.iff"))) << doc.errorString().toStdString();
    EXPECT_TRUE(QFileInfo(path("link.iff")).isSymLink());
    EXPECT_TRUE(ReadFile(path()).contains("through the link"));
    EXPECT_EQ(QFileInfo(path()).permissions() & 0x7077, readOnly);
}
