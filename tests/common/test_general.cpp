#include "../app/AppTestEnv.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "modGeneral.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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

// The names in the trash of a freedesktop data folder.
QStringList TrashedNames(const QString& dataHome)
{
    return QDir(dataHome + QStringLiteral("/Trash/files"))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(PathExists, FolderFlagAcceptsOnlyListableFolders)
{
    QTemporaryDir dir;
    MakeFile(dir.filePath(QStringLiteral("a.iff")));
    const QString folder = dir.path() + QLatin1Char('/');
    EXPECT_TRUE(PathExists(folder, true));
    EXPECT_TRUE(PathExists(dir.path(), true));
    EXPECT_TRUE(PathExists(QStringLiteral("/"), true));
    EXPECT_FALSE(PathExists(folder + QStringLiteral("missing/"), true));
    EXPECT_FALSE(PathExists(folder + QStringLiteral("a.iff"), true)); // a file is no folder
    EXPECT_FALSE(PathExists(QString(), true));
    EXPECT_FALSE(PathExists(folder + QChar(0) + QStringLiteral("x/"), true));
}

TEST(PathExists, FileFlagAcceptsVisibleRegularFilesOnly)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("chair.iff"));
    const QString hidden = dir.filePath(QStringLiteral(".chair.iff"));
    MakeFile(plain);
    MakeFile(hidden);
    SetMode(plain, 0444); // read-only still counts
    EXPECT_TRUE(PathExists(plain, false));
    EXPECT_FALSE(PathExists(hidden, false));
    EXPECT_FALSE(PathExists(dir.path() + QLatin1Char('/'), false));
    EXPECT_FALSE(PathExists(dir.path(), false));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("gone.iff")), false));
    EXPECT_FALSE(PathExists(QString(), false));

    const QString link = dir.filePath(QStringLiteral("link.iff"));
    const QString dangling = dir.filePath(QStringLiteral("dangling.iff"));
    ASSERT_TRUE(QFile::link(plain, link));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nothing")), dangling));
    EXPECT_TRUE(PathExists(link, false));
    EXPECT_FALSE(PathExists(dangling, false));
}

TEST(IsNewFolder, ComparesExactlyAndSkipsTheIgnoredIndex)
{
    StateGuard guard;
    ProgramState.Folders.clear();
    EXPECT_TRUE(IsNewFolder(QStringLiteral("/games/Downloads/"), -1));

    ProgramState.Folders = {{QStringLiteral("/games/Downloads/"), true},
                            {QStringLiteral("/games/Objects/"), false}};
    EXPECT_FALSE(IsNewFolder(QStringLiteral("/games/Downloads/"), -1));
    EXPECT_FALSE(IsNewFolder(QStringLiteral("/games/Objects/"), 0));
    EXPECT_TRUE(IsNewFolder(QStringLiteral("/games/Downloads/"), 0));  // only at the ignored one
    EXPECT_TRUE(IsNewFolder(QStringLiteral("/games/downloads/"), -1)); // case counts
    EXPECT_TRUE(IsNewFolder(QStringLiteral("/games/Downloads"), -1));
}

TEST(SetReadOnly, ChangesOnlyTheWriteBits)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lamp.iff"));
    MakeFile(path);
    SetMode(path, 0776);
    SetReadOnly(path, true);
    EXPECT_EQ(ModeOf(path), mode_t(0554));
    SetReadOnly(path, false);
    EXPECT_EQ(ModeOf(path), mode_t(0754)); // only the owner gets write back

    SetMode(path, 02640);
    SetReadOnly(path, true);
    EXPECT_EQ(ModeOf(path), mode_t(02440)); // set-group-id survives

    SetMode(path, 0400);
    SetReadOnly(path, false);
    EXPECT_EQ(ModeOf(path), mode_t(0600));

    SetReadOnly(dir.filePath(QStringLiteral("missing.iff")), true); // no effect, no crash
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing.iff"))));
}

TEST(RecycleFile, AcceptedMovesTheFileToTheTrash)
{
    TempHome home;
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const QString path = home.home() + QStringLiteral("/Downloads/sofa.iff");
    MakeFile(path, QByteArray("IFF bytes"));
    SetMode(path, 0444);
    prompt.queueTrash(true);

    EXPECT_TRUE(RecycleFile(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].kind, ScriptedPrompt::Kind::Trash);
    EXPECT_EQ(prompt.asked()[0].text, path);
    EXPECT_EQ(TrashedNames(home.dataHome()), QStringList{QStringLiteral("sofa.iff")});
    EXPECT_EQ(ReadFile(home.dataHome() + QStringLiteral("/Trash/files/sofa.iff")),
              QByteArray("IFF bytes"));
}

TEST(RecycleFile, DeclinedKeepsTheFileWithoutItsReadOnlyMark)
{
    TempHome home;
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const QString path = home.home() + QStringLiteral("/Downloads/sofa.iff");
    MakeFile(path, QByteArray("IFF bytes"));
    SetMode(path, 0444);
    prompt.queueTrash(false);

    EXPECT_FALSE(RecycleFile(path));
    EXPECT_EQ(ReadFile(path), QByteArray("IFF bytes"));
    EXPECT_EQ(ModeOf(path), mode_t(0644));
    EXPECT_TRUE(TrashedNames(home.dataHome()).isEmpty());
}

TEST(RecycleFile, DeclinedHiddenFileIsNotReportedGone)
{
    TempHome home;
    ScriptedPrompt prompt;
    PromptScope scope(prompt);
    const QString path = home.home() + QStringLiteral("/Downloads/.sofa.iff");
    MakeFile(path);
    prompt.queueTrash(false);

    EXPECT_FALSE(RecycleFile(path));
    EXPECT_TRUE(QFileInfo::exists(path));
}
