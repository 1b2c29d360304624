#include "IffBytes.h"
#include "IffError.h"
#include "ResourceScript.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"
#include "clsResource.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

TEST(Resource, LengthAndPrintedLayout)
{
    clsResource r; // keys and sort IDs show in the listings' rows
    r.Format = "STR#";
    r.ID = 0x8001;
    r.Unknown = QByteArray("\x00\x10", 2);
    r.Name = "abc";
    r.SetBody("BODY");
    EXPECT_EQ(r.Length, 80);
    EXPECT_EQ(r.PrintResource(), Chunk("STR#", 0x8001, "BODY", "abc", r.Unknown));
    r.Name = QByteArray(70, 'n'); // cut to 64, no terminator
    r.SetBody({});
    EXPECT_EQ(r.Length, 76);
    EXPECT_EQ(r.PrintResource(), Chunk("STR#", 0x8001, "", QByteArray(64, 'n'), r.Unknown));
}

TEST(Resource, CreateKnownAndUnknownFormats)
{
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    clsResource r;
    r.Create("OBJD", 0xFFFF, "New");
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(r.Key(), "OBJD65535");
    EXPECT_EQ(r.Name, "New");
    EXPECT_EQ(r.Unknown, QByteArray(2, '\0'));
    EXPECT_EQ(r.PrintResource().size(), 76);

    clsResource spr2;
    spr2.Create("SPR2", 1, "");
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].title, "SPR2");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompt.asked()[0].text, "The format of the SPR2 resource has not been determined "
                                      "yet. The new resource could not be created.");
    EXPECT_EQ(spr2.Format, "SPR2"); // the values are kept all the same

    clsResource lower;
    lower.Create("objd", 1, "");
    EXPECT_EQ(prompt.asked().size(), 2); // the codes compare with case
}

TEST(Document, ResourceListOperations)
{
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    clsIFF doc;
    EXPECT_TRUE(doc.AddResource("OBJD", 128, "a"));
    EXPECT_TRUE(doc.AddResource("STR#", 0x8001, "b"));
    EXPECT_TRUE(doc.AddResource("BMP_", 200, "c"));
    EXPECT_FALSE(doc.AddResource("objd", 128, "dup")); // keys ignore case
    EXPECT_EQ(doc.ResourceCount(), 3);
    EXPECT_TRUE(doc.IsResource("str#32769"));
    EXPECT_EQ(doc.Resource(2).Name, "b");
    EXPECT_EQ(&doc.Resource("Bmp_200"), &doc.Resource(3));
    EXPECT_THROW(doc.Resource(0), IffError);
    EXPECT_THROW(doc.Resource(4), IffError);
    EXPECT_THROW(doc.Resource(QByteArray("OBJD129")), IffError);
    EXPECT_TRUE(doc.ObjdIDs().isEmpty()); // only loading fills the ID lists

    doc.Resource("OBJD128").ID = 130;
    doc.UpdateKey("OBJD128");
    EXPECT_FALSE(doc.IsResource("OBJD128"));
    EXPECT_EQ(&doc.Resource("OBJD130"), &doc.Resource(3));
    doc.UpdateKey("STR#32769"); // unchanged key still moves to the end
    EXPECT_EQ(doc.Resource(3).Format, "STR#");
    EXPECT_THROW(doc.UpdateKey("OBJD128"), IffError);
    EXPECT_EQ(doc.ResourceCount(), 3);

    doc.DelResource("bmp_200");
    EXPECT_EQ(doc.ResourceCount(), 2);
    EXPECT_THROW(doc.DelResource("BMP_200"), IffError);
    doc.Clear();
    EXPECT_EQ(doc.ResourceCount(), 0);
    EXPECT_FALSE(doc.IsResource("OBJD130"));
}

TEST(Document, KeysStayRightThroughAnySequenceOfCalls)
{
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    // Add OBJD128 and OBJD129, set the second's ID to 128 without UpdateKey, delete OBJD128,
    // then OBJD129: OBJD128 must not be found (it was, and read freed memory).
    clsIFF doc;
    EXPECT_EQ(PlayResourceScript(doc, QByteArray::fromHex("0000000303010100 0103")), "");
    EXPECT_FALSE(doc.IsResource("OBJD128"));

    // Random calls, on an empty document and on a loaded one holding a key twice.
    const QByteArray file = IffHeader() + Chunk("OBJD", 128, "a") + Chunk("CTSS", 129, "b") +
                            Chunk("objd", 128, "c") + Chunk("OBJD", 130, "d");
    QTemporaryDir dir;
    const QString path = dir.filePath("keys.iff");
    WriteFile(path, file);
    for (unsigned seed = 0; seed < 200; ++seed) {
        std::mt19937 random(seed);
        QByteArray script(160, '\0');
        for (char& b : script)
            b = char(random());
        clsIFF played;
        if (seed % 2)
            ASSERT_TRUE(played.LoadFile(path));
        ASSERT_EQ(PlayResourceScript(played, script), "") << "seed " << seed;
    }
}
