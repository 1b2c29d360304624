// SPDX-License-Identifier: GPL-3.0-or-later
// A document's resource list, loading a file into it and saving it.

#include "CollectionScan.h"
#include "IffBytes.h"
#include "IffError.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

class Document : public ::testing::Test
{
protected:
    QString path(const QString& name = "t.iff") const { return dir.filePath(name); }
    bool load(const QByteArray& bytes)
    {
        WriteFile(path(), bytes);
        return doc.LoadFile(path());
    }
    QByteArray saved(clsIFF& d, const QString& name = "out.iff")
    {
        EXPECT_TRUE(d.SaveFile(path(name))) << d.errorString().toStdString();
        return ReadFile(path(name));
    }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
};

} // namespace

TEST_F(Document, KeysIgnoreCaseAndFindTheFirstRecordAddedUnderThem)
{
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 128, "first") + Chunk("BMP_", 200, "") +
                     Chunk("OBJD", 128, "second") + Chunk("CTSS", 0xFFFF, "") +
                     Chunk("objd", 128, "third") + EmptyMapChunk()));
    // Every OBJD, BMP_ and CTSS chunk is listed, duplicates included; the codes compare with case.
    EXPECT_EQ(doc.ObjdIDs() + doc.BmpIDs() + doc.CtssIDs(),
              QList<quint16>({128, 128, 200, 0xFFFF}));
    EXPECT_FALSE(doc.AddResource("OBJD", 128, ""));
    for (const QByteArray body : {"first", "second", "third"}) {
        EXPECT_EQ(doc.Resource("OBJD128").Body(), body); // the next one under the key takes over
        doc.DelResource("objD128");
    }
    for (const int position : {0, 4})
        EXPECT_THROW(doc.Resource(position), IffError);
    // A record stays under the key it was added with, whatever its ID became: OBJD129 (now ID
    // 128) is not found under OBJD128, before or after it is deleted (freed memory was read).
    ASSERT_TRUE(doc.AddResource("OBJD", 128, "a") && doc.AddResource("OBJD", 129, "b"));
    clsResource* b = &doc.Resource(5);
    b->ID = 128;
    doc.DelResource("OBJD128");
    EXPECT_FALSE(doc.IsResource("OBJD128"));
    EXPECT_EQ(&doc.Resource("OBJD129"), b);
    doc.DelResource("OBJD129");
    EXPECT_FALSE(doc.IsResource("OBJD128"));
    // UpdateKey moves a record to the end under its present key, an unchanged one too.
    ASSERT_TRUE(doc.AddResource("STR#", 5, QByteArray(70, 'n'))); // printed cut to 64 bytes
    doc.Resource(4).ID = 6;
    doc.UpdateKey("STR#5");
    doc.UpdateKey("bmp_200");
    EXPECT_FALSE(doc.IsResource("STR#5"));
    EXPECT_EQ(Records(doc), Chunk("CTSS", 0xFFFF, "") + EmptyMapChunk() +
                                Chunk("STR#", 6, "", QByteArray(64, 'n')) + Chunk("BMP_", 200, ""));
    EXPECT_EQ(&doc.Resource("str#6"), &doc.Resource(3));
    // A second file without Clear adds to the document.
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 128, "again")));
    EXPECT_EQ(doc.ObjdCount(), 3);
}

TEST_F(Document, FilesThatAreNoObjectFilesAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 1, "x")));
    using E = clsIFF::LoadError;
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.iff")).constData(), 0600), 0);
    // Sparse files of 4 GiB: nothing past their head is written or read.
    const std::tuple<QString, QByteArray, qint64, E> cases[] = {
        {"bad.iff", IffHeader("2.6") + Chunk("OBJD", 2, "x"), 0, E::InvalidSignature},
        {"bad.iff", IffHeader().replace(34, 1, " "), 0, E::InvalidSignature}, // 0x00 ends 2.5
        {"bad.iff", IffHeader().left(59), 0, E::InvalidSignature},
        {"bad.iff", "MZ not an object file", clsIFF::kMaxFileSize + 1, E::InvalidSignature},
        {"bad.iff", IffHeader(), clsIFF::kMaxFileSize + 1, E::TooLarge},
        // Missing, a folder, a pipe (it would block the reader): no message, errorString says why.
        {"absent.iff", {}, -1, E::CannotOpen},
        {"", {}, -1, E::CannotOpen},
        {"pipe.iff", {}, -1, E::CannotOpen}};
    for (const auto& [name, bytes, size, error] : cases) {
        if (size >= 0)
            WriteFile(path(name), bytes);
        ASSERT_TRUE(size <= 0 || QFile(path(name)).resize(size));
        prompt.clearAsked();
        EXPECT_FALSE(doc.LoadFile(path(name)));
        EXPECT_EQ(doc.lastLoadError(), error);
        EXPECT_EQ(prompt.messages(),
                  error == E::CannotOpen ? QStringList()
                  : error == E::TooLarge
                      ? QStringList("This file is larger than an IFF file can be.")
                      : QStringList("Invalid IFF File"));
        EXPECT_FALSE(doc.errorString().isEmpty());
        for (const auto& asked : prompt.asked())
            EXPECT_TRUE(asked.title == "Invalid File" && asked.icon == PromptIcon::Exclamation);
        if (size > 0)
            EXPECT_EQ(ScanObjectFile(path(name)).reason,
                      error == E::TooLarge ? "not an object file: too large"
                                           : "not an object file: wrong signature");
    }
    EXPECT_EQ(Records(doc), Chunk("OBJD", 1, "x"));
    clsIFF fromMemory;
    EXPECT_FALSE(fromMemory.LoadData("IFF FILE 2.5"));
    EXPECT_TRUE(prompt.asked().isEmpty()); // loading from memory never asks
}

TEST_F(Document, DamagedChunkSizesEndTheWalkAreNamedAndSaveToWholeFiles)
{
    const QByteArray b4 = Chunk("OBJD", 4, "b"), whole = IffHeader() + b4, zeros(2, '\0');
    const QByteArray ok = Chunk("STR#", 2, "ok");
    const QByteArray high = Chunk("OBJD", 0x8001, "", QByteArray(64, 'N'), "\x12\x34");
    QList<std::tuple<QByteArray, QByteArray, QString>> cases = {
        // Fillers are dropped, the old map kept, bytes after a name's 0x00 not kept.
        {IffHeader("2.0", "someone's own credit text", 999) + b4 +
             Chunk("XXXX", 7, QByteArray(30, 'x')) + EmptyMapChunk() + ok + high +
             Chunk("CTSS", 0xFFFF, "z", QByteArray("a\0junk", 6)),
         b4 + EmptyMapChunk() + ok + high + Chunk("CTSS", 0xFFFF, "z", "a"), QString()},
        // Size below 76: header fields kept, empty body, the walk moves on by 76.
        {whole + Chunk("OBJD", 1, "", "short", zeros, 10) + ok,
         b4 + Chunk("OBJD", 1, "", "short") + ok,
         "the chunk at byte 141 declares a size of 10, below 76"},
        {IffHeader() + QByteArray(76 * 3, '\0'), Chunk(QByteArray(4, '\0'), 0, "").repeated(3),
         "the chunk at byte 64 declares a size of 0, below 76"},
        // A header cut short at the end of the file is not a chunk.
        {whole + Chunk("OBJD", 5, "").left(75), b4, "75 bytes at the end hold no whole chunk"},
        {IffHeader().left(62), QByteArray(), "the file header is cut short"},
    };
    // Size beyond the end, up to 2^32 - 1: the body is what is there.
    for (quint32 size : {200u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFB4u})
        cases.append({whole + Chunk("OBJD", 3, "tail", "", zeros, size),
                      b4 + Chunk("OBJD", 3, "tail"),
                      "the chunk at byte 141 runs past the end of the file"});
    for (const auto& [bytes, expected, damage] : cases) {
        SCOPED_TRACE(damage.toStdString());
        doc.Clear();
        ASSERT_TRUE(load(bytes));
        EXPECT_EQ(Records(doc).toHex(), expected.toHex());
        EXPECT_EQ(doc.damageString(), damage);
        // Saved, loaded, saved again: same records and bytes, a new map, 2.5 and the own credit.
        ASSERT_TRUE(doc.AddResource("XXXX", 3, "filler")); // fillers are not written
        const QByteArray first = saved(doc);
        EXPECT_EQ(Records(doc), expected + Chunk("XXXX", 3, "", "filler")); // nor changed
        clsIFF again;
        ASSERT_TRUE(again.LoadData(first));
        const QByteArray kept = QByteArray(expected).replace(EmptyMapChunk(), "") + "rsmp";
        EXPECT_EQ(Records(again).left(kept.size()).toHex(), kept.toHex());
        EXPECT_EQ(first.left(60), ProgramState.IffSignature25.left(35) + bytes.mid(35, 25));
        EXPECT_EQ(saved(again, "again.iff"), first);
    }
    // Only the filler's format was told about, by its code.
    EXPECT_EQ(prompt.messages(),
              QStringList(cases.size(), "The format of the XXXX resource has not "
                                        "been determined yet. The new resource "
                                        "could not be created."));
    EXPECT_EQ(prompt.asked()[0].title, "XXXX");
}

TEST_F(Document, SavedMapGroupsEntriesAndPads)
{
    // A document never loaded: the whole signature and an empty map.
    EXPECT_EQ(saved(doc), ProgramState.IffSignature25 + QByteArray::fromHex("00000040") + "rsmp" +
                              QByteArray::fromHex("0000006000000010") + QByteArray(72, '\0') +
                              "pmsr" + QByteArray::fromHex("6000000000000000"));
    const QByteArray chunks = Chunk("OBJD", 128, "aa", "Catalog") +
                              Chunk("STR#", 128, "", "faces") + Chunk("OBJD", 129, "b", "") +
                              Chunk("BMP_", 0x8001, "", "icon", QByteArray("\x00\x10", 2));
    ASSERT_TRUE(load(IffHeader() + EmptyMapChunk() + chunks));
    const QByteArray out = saved(doc);
    // Chunks in list order, the old map skipped, the new map last: per type (reversed) a count,
    // per chunk its offset, ID, unknown bytes, name, padded to even (all little-endian).
    const qsizetype map = 64 + chunks.size(); // 371
    EXPECT_EQ(out.left(map),
              ProgramState.IffSignature25 + QByteArray::fromHex("00000173") + chunks);
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

// Unchanged chunks are written straight from the loaded bytes, the rest from their fields;
// either way the file holds the fields' bytes, and the hook sees exactly what was written.
TEST_F(Document, ChunksAsLoadedAndAsChangedSaveAsTheirFieldsAndTheHookSeesTheFile)
{
    const QByteArray big(100 * 1024, 'B'); // large enough to bypass the write buffer
    ASSERT_TRUE(load(IffHeader() + Chunk("OBJD", 1, "one", "first") + Chunk("STR#", 2, "two") +
                     EmptyMapChunk() + Chunk("BMP_", 3, big, "big") + Chunk("CTSS", 4, "four") +
                     Chunk("OBJD", 5, "five") + Chunk("OBJD", 7, "seven")));
    doc.Resource("STR#2").SetBody("changed");
    doc.Resource("CTSS4").Name = "renamed";
    doc.Resource("OBJD5").ID = 6;
    doc.UpdateKey("OBJD5");
    doc.Resource("OBJD7").Unknown = "\x01\x02";
    // The same records made from their fields alone, holding copies of the bodies.
    clsIFF built;
    for (int i = 1; i <= doc.ResourceCount(); ++i) {
        const clsResource& r = doc.Resource(i);
        if (r.Format == "rsmp")
            continue;
        ASSERT_TRUE(built.AddResource(r.Format, quint16(r.ID), r.Name));
        clsResource& copy = built.Resource(built.ResourceCount());
        copy.Unknown = r.Unknown;
        copy.SetBody(QByteArray(r.Body().constData(), r.Body().size()));
    }
    const QByteArray expected = saved(built, "built.iff");
    ASSERT_EQ(expected.size(), 64 + 6 * 76 + 3 + 7 + big.size() + 4 + 4 + 5 + 200); // map 200

    QByteArray hash;
    qint64 size = -1;
    const auto hook = [&](const QByteArray& sha256, qint64 bytes, QString&) {
        hash = sha256;
        size = bytes;
        return true;
    };
    ASSERT_TRUE(doc.SaveFile(path(), hook)) << doc.errorString().toStdString();
    EXPECT_EQ(ReadFile(path()).toHex(), expected.toHex());
    EXPECT_EQ(hash.toHex(), QCryptographicHash::hash(expected, QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(size, expected.size());
    // A hook that says no keeps the old file, and its reason.
    doc.Resource("OBJD1").SetBody("not saved");
    const auto refuse = [](const QByteArray&, qint64, QString& error) {
        error = "history full";
        return false;
    };
    EXPECT_FALSE(doc.SaveFile(path(), refuse));
    EXPECT_EQ(doc.errorString(), "history full");
    EXPECT_EQ(ReadFile(path()), expected);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"built.iff", "t.iff"}));
}

TEST_F(Document, AFailedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    WriteFile(path(), "old contents");
    ASSERT_TRUE(doc.AddResource("OBJD", 1, ""));
    clsResource& r = doc.Resource(1);
    // Broken records; then a sound one while files may not grow past 64 KB.
    for (const auto& breakIt : std::initializer_list<std::function<void()>>{
             [&] { r.Format = "OBJ"; }, [&] { r.Unknown = "\x01"; }, [&] { r.Length = 100; },
             [&] { r.SetBody(QByteArray(1 << 20, 'b')); }}) {
        r.Create("OBJD", 1, "");
        breakIt();
        EXPECT_FALSE(WithFileSizeLimit(64 * 1024, [&] { return doc.SaveFile(path()); }));
        EXPECT_FALSE(doc.errorString().isEmpty());
    }
    EXPECT_EQ(ReadFile(path()), "old contents");
    // The target is a folder; the folder does not exist.
    QDir(dir.path()).mkdir("folder.iff");
    EXPECT_FALSE(doc.SaveFile(path("folder.iff")));
    EXPECT_FALSE(doc.SaveFile(path("missing/x.iff")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList("t.iff"));
}

TEST_F(Document, ReadOnlyFileIsSavedAndStaysReadOnlyAlsoThroughALink)
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
        EXPECT_EQ(QFileInfo(path()).permissions() & 0x7077, permissions);
        EXPECT_EQ(ReadFile(path()).mid(64, 76 + 9 + name.size()),
                  Chunk("OBJD", 1, "saved as " + name.toLatin1()));
    }
}
