#include "CollectionScan.h"
#include "IffBytes.h"
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
        WriteFile(dir.filePath("t.iff"), bytes);
        return doc.LoadFile(dir.filePath("t.iff"));
    }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
};

// Every record of a document as it would be written.
QByteArray records(const clsIFF& doc)
{
    QByteArray out;
    for (int i = 1; i <= doc.ResourceCount(); ++i)
        out += doc.Resource(i).PrintResource();
    return out;
}

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
    for (const QByteArray& bytes :
         {IffHeader("2.6") + Chunk("OBJD", 2, "x"), IffHeader().replace(0, 3, "iff"),
          IffHeader().replace(34, 1, " "), // version ends with 0x00
          IffHeader().left(59), QByteArray()}) {
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
    clsIFF fromMemory;
    EXPECT_FALSE(fromMemory.LoadData("IFF FILE 2.5"));
    EXPECT_EQ(fromMemory.lastLoadError(), clsIFF::LoadError::InvalidSignature);
    EXPECT_EQ(prompt.asked().size(), 1); // loading from memory never asks
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
    const QByteArray lamp = Chunk("OBJD", 128, "abc", "Lamp"), bmp = Chunk("BMP_", 200, "");
    const QByteArray high = Chunk("OBJD", 0x8001, "", QByteArray(64, 'N'), "\x12\x34");
    ASSERT_TRUE(load(IffHeader() + lamp + Chunk("XXXX", 7, QByteArray(30, 'x')) + bmp +
                     EmptyMapChunk() + high + Chunk("CTSS", 0xFFFF, "z", QByteArray("a\0junk", 6)) +
                     Chunk("BMP_", 201, "")));
    // The filler is dropped, the old map kept, bytes after a name's 0x00 not kept.
    EXPECT_EQ(records(doc), lamp + bmp + EmptyMapChunk() + high + Chunk("CTSS", 0xFFFF, "z", "a") +
                                Chunk("BMP_", 201, ""));
    EXPECT_EQ(doc.Resource(3).Key(), "rsmp0");
    EXPECT_EQ(doc.Resource("ctss65535").ID, 0xFFFF);
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

TEST_F(Load, DamagedChunkSizesEndTheWalkAndAreNamed)
{
    const QByteArray whole = IffHeader() + Chunk("OBJD", 4, "b"), zeros(2, '\0');
    const QByteArray ok = Chunk("STR#", 2, "ok");
    QList<std::tuple<QByteArray, QByteArray, QString>> cases = {
        {whole, Chunk("OBJD", 4, "b"), QString()},
        // Size below 76: header fields kept, empty body, the walk moves on by 76.
        {whole + Chunk("OBJD", 1, "", "short", zeros, 10) + ok,
         Chunk("OBJD", 4, "b") + Chunk("OBJD", 1, "", "short") + ok,
         "the chunk at byte 141 declares a size of 10, below 76"},
        {IffHeader() + QByteArray(76 * 3, '\0'), Chunk(QByteArray(4, '\0'), 0, "").repeated(3),
         "the chunk at byte 64 declares a size of 0, below 76"},
        // A header cut short at the end of the file is not a chunk.
        {whole + Chunk("OBJD", 5, "").left(75), Chunk("OBJD", 4, "b"),
         "75 bytes at the end hold no whole chunk"},
        {IffHeader().left(62), QByteArray(), "the file header is cut short"},
    };
    // Size beyond the end, up to 2^32 - 1: the body is what is there.
    for (quint32 size : {200u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFB4u})
        cases.append({whole + Chunk("OBJD", 3, "tail", "", zeros, size),
                      Chunk("OBJD", 4, "b") + Chunk("OBJD", 3, "tail"),
                      "the chunk at byte 141 runs past the end of the file"});
    for (const auto& [bytes, expected, damage] : cases) {
        SCOPED_TRACE(damage.toStdString());
        doc.Clear();
        ASSERT_TRUE(load(bytes));
        EXPECT_EQ(records(doc).toHex(), expected.toHex());
        EXPECT_EQ(doc.damageString(), damage);
        clsIFF fromMemory;
        ASSERT_TRUE(fromMemory.LoadData(bytes));
        EXPECT_EQ(fromMemory.damageString(), damage);
        EXPECT_EQ(records(fromMemory), expected);
    }
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(Load, AFileLargerThan32BitSizesAllowIsRefusedUnread)
{
    // Sparse files: nothing of their 4 GiB is written or read.
    const QString path = dir.filePath("huge.iff");
    for (const QByteArray& head : {QByteArray("MZ not an object file"), IffHeader()}) {
        WriteFile(path, head);
        ASSERT_TRUE(QFile(path).resize(clsIFF::kMaxFileSize + 1));
        prompt.clearAsked();
        EXPECT_FALSE(doc.LoadFile(path));
        EXPECT_EQ(doc.lastLoadError(), head.startsWith("IFF")
                                           ? clsIFF::LoadError::TooLarge
                                           : clsIFF::LoadError::InvalidSignature);
        EXPECT_EQ(prompt.messages(),
                  QStringList(head.startsWith("IFF")
                                  ? "This file is larger than an IFF file can be."
                                  : "Invalid IFF File"));
        EXPECT_EQ(ScanObjectFile(path).problem, FileProblem::NotObjectFile);
        EXPECT_EQ(ScanObjectFile(path).reason, head.startsWith("IFF")
                                                   ? "not an object file: too large"
                                                   : "not an object file: wrong signature");
    }
}
