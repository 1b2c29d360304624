#include "../app/AppTestEnv.h"
#include "ScriptedPrompt.h"
#include "modGeneral.h"

#include <sys/stat.h>

namespace
{

mode_t ModeOf(const QString& path)
{
    struct stat st {
    };
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}

void MakeFileWithMode(const QString& path, mode_t mode)
{
    MakeFile(path, "IFF bytes");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

TEST(General, PathExistsAndIsNewFolder)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("chair.iff"), hidden = dir.filePath(".hidden.iff");
    MakeFileWithMode(file, 0444);
    MakeFile(hidden);
    ASSERT_TRUE(QFile::link(dir.filePath("none"), dir.filePath("dangling.iff")));
    // Folders are listable folders, files visible regular files (read-only still counts).
    for (const auto& [path, folder, exists] : {std::tuple{dir.path() + '/', true, true},
                                               {dir.filePath("missing/"), true, false},
                                               {file, true, false},
                                               {QString(), true, false},
                                               {file, false, true},
                                               {hidden, false, false},
                                               {dir.filePath("dangling.iff"), false, false},
                                               {dir.path(), false, false}})
        EXPECT_EQ(PathExists(path, folder), exists) << path.toStdString() << folder;

    StateGuard guard;
    ProgramState.Folders = {{"/g/D/", true}, {"/g/O/", false}};
    EXPECT_FALSE(IsNewFolder("/g/D/", -1));
    EXPECT_FALSE(IsNewFolder("/g/O/", 0));
    EXPECT_TRUE(IsNewFolder("/g/D/", 0));  // the ignored index is skipped
    EXPECT_TRUE(IsNewFolder("/g/d/", -1)); // letter case counts
}

TEST(General, SetReadOnlyChangesOnlyTheWriteBits)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lamp.iff");
    MakeFileWithMode(path, 02776);
    SetReadOnly(path, true);
    EXPECT_EQ(ModeOf(path), mode_t(02554)); // set-group-id and the rest survive
    SetReadOnly(path, false);
    EXPECT_EQ(ModeOf(path), mode_t(02754)); // only the owner gets write back
}

TEST(General, RecycleFileAcceptedGoesToTheTrashDeclinedStaysWritable)
{
    TempHome home;
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const QString dl = home.home + "/Downloads/";
    const QString kept = dl + "kept.iff", sofa = dl + "sofa.iff", hidden = dl + ".hidden.iff";
    for (const auto& [path, accept] : {std::pair{kept, false}, {hidden, false}, {sofa, true}}) {
        MakeFileWithMode(path, 0444);
        prompt.queueTrash(accept);
        EXPECT_EQ(RecycleFile(path), accept) << path.toStdString(); // a hidden file is not "gone"
    }
    EXPECT_EQ(ModeOf(kept), mode_t(0644));
    EXPECT_EQ(ReadFile(kept), "IFF bytes");
    EXPECT_TRUE(QFileInfo::exists(hidden));
    EXPECT_FALSE(QFileInfo::exists(sofa));
    EXPECT_EQ(ReadFile(home.dataHome + "/Trash/files/sofa.iff"), "IFF bytes");
    ASSERT_EQ(prompt.asked().size(), 3);
    EXPECT_EQ(prompt.asked()[2].kind, ScriptedPrompt::Kind::Trash);
    EXPECT_EQ(prompt.asked()[2].text, sofa);
}
