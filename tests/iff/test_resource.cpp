#include "IffBytes.h"
#include "IffError.h"
#include "ResourceScript.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"
#include "clsResource.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

TEST(Resource, CreateLengthAndPrintedLayout)
{
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    clsResource r;
    r.Create("STR#", 0x8001, QByteArray(70, 'n')); // the name is cut to 64, no terminator
    EXPECT_EQ(r.PrintResource(), Chunk("STR#", 0x8001, "", QByteArray(64, 'n')));
    r.Unknown = QByteArray("\x00\x10", 2);
    r.Name = "abc";
    r.SetBody("BODY");
    EXPECT_EQ(r.Length, 80);
    EXPECT_EQ(r.PrintResource(), Chunk("STR#", 0x8001, "BODY", "abc", r.Unknown));
    EXPECT_TRUE(prompt.asked().isEmpty());

    for (const QByteArray format : {"SPR2", "objd"}) { // the codes compare with case
        prompt.clearAsked();
        r.Create(format, 1, "");
        EXPECT_EQ(r.Key(), format + "1"); // the values are kept all the same
        ASSERT_EQ(prompt.asked().size(), 1);
        EXPECT_EQ(prompt.asked()[0].title, format);
        EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::Exclamation);
        EXPECT_EQ(prompt.asked()[0].text, "The format of the " + format +
                                              " resource has not been determined yet. The new "
                                              "resource could not be created.");
    }
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
    EXPECT_EQ(doc.Resource(2).PrintResource(), Chunk("STR#", 0x8001, "", "b"));
    EXPECT_EQ(&doc.Resource("Bmp_200"), &doc.Resource(3));
    for (const int position : {0, 4})
        EXPECT_THROW(doc.Resource(position), IffError);
    EXPECT_THROW(doc.Resource(QByteArray("OBJD129")), IffError);
    EXPECT_TRUE(doc.ObjdIDs().isEmpty()); // only loading fills the ID lists
    doc.UpdateKey("STR#32769");           // an unchanged key still moves to the end
    EXPECT_EQ(doc.Resource(3).Format, "STR#");
    doc.Clear();
    EXPECT_EQ(doc.ResourceCount(), 0);
    EXPECT_FALSE(doc.IsResource("OBJD128"));
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
    QTemporaryDir dir;
    WriteFile(dir.filePath("keys.iff"), IffHeader() + Chunk("OBJD", 128, "a") +
                                            Chunk("CTSS", 129, "b") + Chunk("objd", 128, "c"));
    for (unsigned seed = 0; seed < 200; ++seed) {
        std::mt19937 random(seed);
        QByteArray script(160, '\0');
        for (char& b : script)
            b = char(random());
        clsIFF played;
        if (seed % 2)
            ASSERT_TRUE(played.LoadFile(dir.filePath("keys.iff")));
        ASSERT_EQ(PlayResourceScript(played, script), "") << "seed " << seed;
    }
}
