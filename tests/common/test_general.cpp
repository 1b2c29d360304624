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

void SetMode(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

TEST(PathExists, FoldersAreListableFoldersFilesAreVisibleRegularFiles)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chair.iff"));
    MakeFile(file);
    MakeFile(dir.filePath(QStringLiteral(".hidden.iff")));
    SetMode(file, 0444);
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("none")), dir.filePath("dangling.iff")));
    EXPECT_TRUE(PathExists(dir.path() + QLatin1Char('/'), true));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("missing/")), true));
    EXPECT_FALSE(PathExists(file, true));
    EXPECT_FALSE(PathExists(QString(), true));
    EXPECT_TRUE(PathExists(file, false)); // read-only still counts
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral(".hidden.iff")), false));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("dangling.iff")), false));
    EXPECT_FALSE(PathExists(dir.path(), false));
}

TEST(IsNewFolder, ComparesExactlyAndSkipsTheIgnoredIndex)
{
    StateGuard guard;
    ProgramState.Folders = {{QStringLiteral("/g/D/"), true}, {QStringLiteral("/g/O/"), false}};
    EXPECT_FALSE(IsNewFolder(QStringLiteral("/g/D/"), -1));
    EXPECT_FALSE(IsNewFolder(QStringLiteral("/g/O/"), 0));
    EXPECT_TRUE(IsNewFolder(QStringLiteral("/g/D/"), 0));
    EXPECT_TRUE(IsNewFolder(QStringLiteral("/g/d/"), -1)); // letter case counts
}

TEST(SetReadOnly, ChangesOnlyTheWriteBits)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lamp.iff"));
    MakeFile(path);
    SetMode(path, 02776);
    SetReadOnly(path, true);
    EXPECT_EQ(ModeOf(path), mode_t(02554)); // set-group-id and the rest survive
    SetReadOnly(path, false);
    EXPECT_EQ(ModeOf(path), mode_t(02754)); // only the owner gets write back
}

TEST(RecycleFile, AcceptedGoesToTheTrashDeclinedStaysWritable)
{
    TempHome home;
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const QString dl = home.home + QStringLiteral("/Downloads/");
    const QString kept = dl + "kept.iff", sofa = dl + "sofa.iff", hidden = dl + ".hidden.iff";
    for (const QString& path : {kept, sofa, hidden}) {
        MakeFile(path, QByteArray("IFF bytes"));
        SetMode(path, 0444);
    }
    for (const auto& [path, accept] : {std::pair{kept, false}, {hidden, false}, {sofa, true}}) {
        prompt.queueTrash(accept);
        EXPECT_EQ(RecycleFile(path), accept) << path.toStdString(); // a hidden file is not "gone"
    }
    EXPECT_EQ(ModeOf(kept), mode_t(0644));
    EXPECT_EQ(ReadFile(kept), QByteArray("IFF bytes"));
    EXPECT_TRUE(QFileInfo::exists(hidden));
    EXPECT_FALSE(QFileInfo::exists(sofa));
    EXPECT_EQ(ReadFile(home.dataHome + QStringLiteral("/Trash/files/sofa.iff")), "IFF bytes");
    ASSERT_EQ(prompt.asked().size(), 3);
    EXPECT_EQ(prompt.asked()[2].kind, ScriptedPrompt::Kind::Trash);
    EXPECT_EQ(prompt.asked()[2].text, sofa);
}
