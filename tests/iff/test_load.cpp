#include "CollectionScan.h"
#include "IffBytes.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

class Load : public ::testing::Test
{
protected:
    // Writes the bytes and loads them into doc.
    bool load(const QByteArray& bytes)
    {
        const QString path = dir.filePath("t.iff");
        WriteFile(path, bytes);
        return doc.LoadFile(path);
    }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
};

} // namespace

TEST_F(Load, BothVersionsAndAnyCreditAreAccepted)
{
    ASSERT_TRUE(load(IffHeader("2.0")));
    EXPECT_EQ(doc.ResourceCount(), 0);
    EXPECT_EQ(doc.SignatureCredit(), " KALMODERIVESTA & MAXIS 1");
    ASSERT_TRUE(load(IffHeader("2.5", "made by someone else", 12345)));
    EXPECT_EQ(doc.SignatureCredit(), QByteArray("made by someone else") + QByteArray(5, '\0'));
    EXPECT_EQ(doc.lastLoadError(), clsIFF::LoadError::None);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(Load, WrongSignatureIsRefusedAndChangesNothing)
{
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 1, "x")));
    const QList<QByteArray> bad = {
        IffHeader("2.6") + Chunk("OBJD", 2, "x"),
        IffHeader().replace(0, 3, "iff"),
        IffHeader().replace(34, 1, " "), // the version text must end with 0x00
        IffHeader().left(59),
        QByteArray(),
    };
    for (const QByteArray& bytes : bad) {
        prompt.clearAsked();
        EXPECT_FALSE(load(bytes));
        EXPECT_EQ(doc.lastLoadError(), clsIFF::LoadError::InvalidSignature);
        ASSERT_EQ(prompt.asked().size(), 1);
        EXPECT_EQ(prompt.asked()[0].text, "Invalid IFF File");
        EXPECT_EQ(prompt.asked()[0].title, "Invalid File");
        EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Exclamation);
    }
    EXPECT_EQ(doc.ResourceCount(), 1);
    EXPECT_EQ(doc.ObjdIDs(), QList<quint16>({1}));
}

TEST_F(Load, MissingFileFolderOrPipeFailsWithoutAMessage)
{
    // A pipe would block the reader for ever.
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.iff")).constData(), 0600), 0);
    for (const QString& path : {dir.filePath("absent.iff"), dir.path(), dir.filePath("pipe.iff")}) {
        EXPECT_FALSE(doc.LoadFile(path));
        EXPECT_EQ(doc.lastLoadError(), clsIFF::LoadError::CannotOpen);
        EXPECT_FALSE(doc.errorString().isEmpty());
    }
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(Load, ChunksFieldsFillersAndIdLists)
{
    const QByteArray file =
        IffHeader() + Chunk("OBJD", 128, "abc", "Lamp") + Chunk("XXXX", 7, QByteArray(30, 'x')) +
        Chunk("BMP_", 200, "") + EmptyMapChunk() +
        Chunk("OBJD", 0x8001, "", QByteArray(64, 'N'), "\x12\x34") +
        Chunk("CTSS", 0xFFFF, "z", QByteArray("a\0junk", 6)) + Chunk("BMP_", 201, "");
    ASSERT_TRUE(load(file));
    ASSERT_EQ(doc.ResourceCount(), 6); // the filler is dropped, the old map kept
    const clsResource& lamp = doc.Resource(1);
    EXPECT_EQ(lamp.Key(), "OBJD128");
    EXPECT_EQ(lamp.Name, "Lamp");
    EXPECT_EQ(lamp.Body(), "abc");
    EXPECT_EQ(lamp.Length, 79);
    EXPECT_EQ(lamp.Unknown, QByteArray(2, '\0'));
    EXPECT_EQ(doc.Resource(3).Key(), "rsmp0");
    const clsResource& high = doc.Resource("OBJD32769");
    EXPECT_EQ(high.Name, QByteArray(64, 'N'));
    EXPECT_EQ(high.Unknown, "\x12\x34");
    EXPECT_EQ(doc.Resource("ctss65535").Name, "a"); // bytes after the 0x00 are not kept
    EXPECT_EQ(doc.ObjdIDs(), QList<quint16>({128, 0x8001}));
    EXPECT_EQ(doc.BmpIDs(), QList<quint16>({200, 201}));
    EXPECT_EQ(doc.CtssIDs(), QList<quint16>({0xFFFF}));
}

TEST_F(Load, DuplicateKeysAreAllKeptAndTheFirstIsFound)
{
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 128, "first") + Chunk("OBJD", 128, "second") +
                     Chunk("objd", 128, "third")));
    ASSERT_EQ(doc.ResourceCount(), 3);
    EXPECT_EQ(doc.Resource("OBJD128").Body(), "first");
    EXPECT_EQ(doc.ObjdIDs(), QList<quint16>({128, 128}));
    EXPECT_FALSE(doc.AddResource("OBJD", 128, ""));
    doc.DelResource("OBJD128"); // the next one under the key takes over
    EXPECT_EQ(doc.Resource("OBJD128").Body(), "second");
    doc.DelResource("OBJD128");
    EXPECT_EQ(doc.Resource("OBJD128").Body(), "third");
    // A second file without Clear adds to the document, duplicates included.
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 128, "again")));
    EXPECT_EQ(doc.ResourceCount(), 2);
    EXPECT_EQ(doc.ObjdCount(), 3);
}

TEST_F(Load, DamagedChunkSizesEndTheWalk)
{
    // Size below 76: header fields kept, empty body, the walk moves on by 76.
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 1, "", "short", QByteArray(2, '\0'), 10) +
                     Chunk("STR#", 2, "ok")));
    ASSERT_EQ(doc.ResourceCount(), 2);
    EXPECT_EQ(doc.Resource(1).Name, "short");
    EXPECT_EQ(doc.Resource(1).Length, 76);
    EXPECT_EQ(doc.Resource(2).Body(), "ok");

    // Size 0 everywhere: still ends.
    doc.Clear();
    ASSERT_TRUE(load(IffHeader() + QByteArray(76 * 3, '\0')));
    EXPECT_EQ(doc.ResourceCount(), 3);

    // Size beyond the end, up to 2^32 - 1: the body is what is there.
    for (quint32 size : {200u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFB4u}) {
        doc.Clear();
        ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 3, "tail", "", QByteArray(2, '\0'), size)));
        ASSERT_EQ(doc.ResourceCount(), 1) << size;
        EXPECT_EQ(doc.Resource(1).Body(), "tail");
        EXPECT_EQ(doc.Resource(1).Length, 80);
    }

    // A header cut short at the end of the file is not a chunk.
    doc.Clear();
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 4, "b") + Chunk("OBJD", 5, "").left(75)));
    EXPECT_EQ(doc.ResourceCount(), 1);
    doc.Clear();
    ASSERT_TRUE(load(IffHeader().left(62))); // the map offset cut short
    EXPECT_EQ(doc.ResourceCount(), 0);
}

TEST_F(Load, DamageIsNamedAndMemoryLoadsTheSameWithoutAsking)
{
    const QByteArray whole = IffHeader() + Chunk("OBJD", 4, "b");
    const QByteArray zeros(2, '\0');
    const QList<QPair<QByteArray, QString>> cases = {
        {whole, QString()},
        {whole + Chunk("OBJD", 1, "", "", zeros, 10),
         "the chunk at byte 141 declares a size of 10, below 76"},
        {whole + Chunk("OBJD", 3, "tail", "", zeros, 200),
         "the chunk at byte 141 runs past the end of the file"},
        {whole + Chunk("OBJD", 5, "").left(75), "75 bytes at the end hold no whole chunk"},
        {IffHeader().left(62), "the file header is cut short"},
    };
    for (const auto& [bytes, damage] : cases) {
        doc.Clear();
        ASSERT_TRUE(load(bytes));
        EXPECT_EQ(doc.damageString(), damage);
        clsIFF fromMemory;
        ASSERT_TRUE(fromMemory.LoadData(bytes));
        EXPECT_EQ(fromMemory.damageString(), damage);
        EXPECT_EQ(fromMemory.ResourceCount(), doc.ResourceCount());
    }
    clsIFF fromMemory;
    EXPECT_FALSE(fromMemory.LoadData("IFF FILE 2.5"));
    EXPECT_EQ(fromMemory.lastLoadError(), clsIFF::LoadError::InvalidSignature);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(Load, AFileLargerThan32BitSizesAllowIsRefusedUnread)
{
    // Sparse files: nothing of their 4 GiB is written or read.
    const QString path = dir.filePath("huge.iff");
    for (const QByteArray& head : {IffHeader(), QByteArray("MZ not an object file")}) {
        WriteFile(path, head);
        ASSERT_TRUE(QFile(path).resize(clsIFF::kMaxFileSize + 1));
        prompt.clearAsked();
        EXPECT_FALSE(doc.LoadFile(path));
        ASSERT_EQ(prompt.messages().size(), 1);
        EXPECT_EQ(prompt.messages()[0], head.startsWith("IFF")
                                            ? "This file is larger than an IFF file can be."
                                            : "Invalid IFF File");
        EXPECT_EQ(ScanObjectFile(path).problem, FileProblem::NotObjectFile);
    }
    EXPECT_EQ(doc.lastLoadError(), clsIFF::LoadError::InvalidSignature);
    EXPECT_EQ(ScanObjectFile(path).reason, "not an object file: wrong signature");
    WriteFile(path, IffHeader());
    ASSERT_TRUE(QFile(path).resize(clsIFF::kMaxFileSize + 1));
    EXPECT_EQ(ScanObjectFile(path).reason, "not an object file: too large");
}
