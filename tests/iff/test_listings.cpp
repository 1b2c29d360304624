#include "CatalogFixture.h"
#include "IffBytes.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class Listings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = dir.filePath("l.iff");
        WriteFile(path, IffHeader() + Chunk("OBJD", 128, "12345", "Chair") +
                            Chunk("OBJD", 0x8001, "", "") + Chunk("STR#", 5, "s", "Text") +
                            Chunk("OBJD", 128, "x", "Again") + Chunk("BMP_", 7, "") +
                            EmptyMapChunk());
        ASSERT_TRUE(doc.LoadFile(path));
        sink.AddRow("stale", "row", {}); // every listing starts by clearing
    }
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    clsIFF doc;
    RecordingList sink;
};

using Rows = QList<QByteArray>;

} // namespace

TEST_F(Listings, FormatListCountsTypesInFirstAppearanceOrder)
{
    doc.GenerateFormatList(sink);
    EXPECT_EQ(sink.rows,
              Rows({"ALL|>> All resources", "OBJD|OBJD (3)", "STR#|STR# (1)", "BMP_|BMP_ (1)"}));
}

TEST_F(Listings, ResourceListOfOneTypeWithUniqueRowKeys)
{
    doc.GenerateResourceList(sink, "OBJD");
    EXPECT_EQ(sink.refreshes, 1);
    EXPECT_EQ(sink.rows, Rows({"OBJD128|#128: \"Chair\" (size: 5)|OBJD00128",
                               "OBJD32769|#32769: \"\" (size: 0)|OBJD32769",
                               "OBJD128#2|#128: \"Again\" (size: 1)|OBJD00128"}));
    doc.GenerateResourceList(sink, "rsmp");
    ASSERT_EQ(sink.rows.size(), 1);
    EXPECT_TRUE(sink.rows[0].startsWith("rsmp0|#0: \"\" (size: 20)|"));
    doc.GenerateResourceList(sink, "objd"); // type codes compare with case
    EXPECT_TRUE(sink.rows.isEmpty());
}

TEST_F(Listings, AllResourcesLeaveOutTheMap)
{
    doc.GenerateAllResourceList(sink);
    EXPECT_EQ(sink.rows, Rows({"OBJD128|OBJD|128|Chair (size: 5)|OBJD00128",
                               "OBJD32769|OBJD|32769| (size: 0)|OBJD32769",
                               "STR#5|STR#|5|Text (size: 1)|STR#00005",
                               "OBJD128#2|OBJD|128|Again (size: 1)|OBJD00128",
                               "BMP_7|BMP_|7| (size: 0)|BMP_00007"}));
}

TEST_F(Listings, EmptyDocumentListsOnlyTheAllRow)
{
    clsIFF empty;
    empty.GenerateFormatList(sink);
    EXPECT_EQ(sink.rows, Rows({"ALL|>> All resources"}));
    empty.GenerateAllResourceList(sink);
    EXPECT_TRUE(sink.rows.isEmpty());
}
