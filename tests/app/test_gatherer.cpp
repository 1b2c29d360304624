#include "AppTestEnv.h"
#include "FileGatherer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class Tree
{
public:
    QString root() const { return m_dir.path(); }
    // Path below the root; folders end in "/".
    QString path(const QString& relative) const
    {
        return m_dir.path() + QLatin1Char('/') + relative;
    }
    void file(const QString& relative) const { MakeFile(path(relative)); }
    void folder(const QString& relative) const { QDir().mkpath(path(relative)); }
    void link(const QString& target, const QString& relative) const
    {
        ASSERT_TRUE(QFile::link(target, path(relative)));
    }

private:
    QTemporaryDir m_dir;
};

// The listed files as paths relative to the tree's root.
QStringList Relative(const Tree& tree, const QList<ObjectFile>& files)
{
    QStringList out;
    for (const ObjectFile& f : files) {
        EXPECT_TRUE(f.FullPath.endsWith(QLatin1Char('/') + f.FileName)) << f.FullPath.toStdString();
        out << f.FullPath.mid(tree.root().size() + 1);
    }
    return out;
}

} // namespace

TEST(GatherObjectFiles, IffFilesOfAnyCaseInNameOrder)
{
    Tree t;
    for (const char* name : {"b.iff", "A.IFF", "c.Iff", "a2.iff", "notes.txt", "x.iffx", "iff",
                             "far.far", ".hidden.iff"})
        t.file(QStringLiteral("objs/") + QLatin1String(name));
    t.folder(QStringLiteral("objs/folder.iff"));
    const auto files = GatherObjectFiles({{t.path(QStringLiteral("objs/")), false}});
    EXPECT_EQ(Relative(t, files),
              (QStringList{QStringLiteral("objs/A.IFF"), QStringLiteral("objs/a2.iff"),
                           QStringLiteral("objs/b.iff"), QStringLiteral("objs/c.Iff")}));
    ASSERT_FALSE(files.isEmpty());
    EXPECT_EQ(files[0].FileName, QStringLiteral("A.IFF"));
    EXPECT_EQ(files[0].FullPath, t.path(QStringLiteral("objs/A.IFF")));
}

TEST(GatherObjectFiles, SubfoldersAfterFilesDepthFirst)
{
    Tree t;
    for (const char* f : {"dl/z.iff", "dl/b/2.iff", "dl/b/1.iff", "dl/a/x/deep.iff", "dl/a/top.iff",
                          "dl/.cache/hidden.iff"})
        t.file(QLatin1String(f));
    const auto with = GatherObjectFiles({{t.path(QStringLiteral("dl/")), true}});
    EXPECT_EQ(Relative(t, with),
              (QStringList{QStringLiteral("dl/z.iff"), QStringLiteral("dl/a/top.iff"),
                           QStringLiteral("dl/a/x/deep.iff"), QStringLiteral("dl/b/1.iff"),
                           QStringLiteral("dl/b/2.iff")}));
    const auto without = GatherObjectFiles({{t.path(QStringLiteral("dl")), false}});
    EXPECT_EQ(Relative(t, without), QStringList{QStringLiteral("dl/z.iff")});
}

TEST(GatherObjectFiles, MissingFoldersAreSkippedAndListOrderKept)
{
    Tree t;
    t.file(QStringLiteral("second/s.iff"));
    t.file(QStringLiteral("first/f.iff"));
    t.file(QStringLiteral("plain.iff"));
    t.link(t.path(QStringLiteral("vanished")), QStringLiteral("dangling"));
    const auto files = GatherObjectFiles({{t.path(QStringLiteral("second/")), false},
                                          {t.path(QStringLiteral("missing/")), true},
                                          {t.path(QStringLiteral("plain.iff/")), true},
                                          {t.path(QStringLiteral("dangling/")), true},
                                          {QString(), true},
                                          {t.path(QStringLiteral("first/")), false}});
    EXPECT_EQ(Relative(t, files),
              (QStringList{QStringLiteral("second/s.iff"), QStringLiteral("first/f.iff")}));
}

TEST(GatherObjectFiles, FolderBelowAnEntryWithSubfoldersIsListedThroughIt)
{
    Tree t;
    t.file(QStringLiteral("Downloads/d.iff"));
    t.file(QStringLiteral("Downloads/Walls/w.iff"));
    const QString walls = t.path(QStringLiteral("Downloads/Walls/"));
    const QString downloads = t.path(QStringLiteral("Downloads/"));
    const QStringList once = {QStringLiteral("Downloads/d.iff"),
                              QStringLiteral("Downloads/Walls/w.iff")};
    // Whether the inner folder comes before or after the outer one.
    EXPECT_EQ(Relative(t, GatherObjectFiles({{walls, false}, {downloads, true}})), once);
    EXPECT_EQ(Relative(t, GatherObjectFiles({{downloads, true}, {walls, true}})), once);
    // Without subfolders the outer entry hides nothing.
    EXPECT_EQ(
        Relative(t, GatherObjectFiles({{walls, false}, {downloads, false}})),
        (QStringList{QStringLiteral("Downloads/Walls/w.iff"), QStringLiteral("Downloads/d.iff")}));
}

TEST(GatherObjectFiles, OnlyAPathThatStartsWithTheOtherLiesBelowIt)
{
    Tree t;
    const QString objects = t.path(QStringLiteral("objects/"));
    // The same path text again, deeper down in a copy: it contains objects/ but is not in it.
    const QString copy = t.path(QStringLiteral("copy")) + objects;
    t.file(QStringLiteral("objects/o.iff"));
    MakeFile(copy + QStringLiteral("c.iff"));
    t.file(QStringLiteral("objects2/p.iff"));
    const auto files = GatherObjectFiles({{objects, true},
                                          {copy, false},
                                          {t.path(QStringLiteral("objects2/")), false},
                                          {t.path(QStringLiteral("obj")), true}});
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[0].FullPath, objects + QStringLiteral("o.iff"));
    EXPECT_EQ(files[1].FullPath, copy + QStringLiteral("c.iff"));
    EXPECT_EQ(files[2].FullPath, t.path(QStringLiteral("objects2/p.iff")));
}

TEST(GatherObjectFiles, DuplicateEntriesListTheirFilesOnce)
{
    Tree t;
    t.file(QStringLiteral("dl/a.iff"));
    t.file(QStringLiteral("dl/sub/b.iff"));
    const QString dl = t.path(QStringLiteral("dl/"));
    const QStringList all = {QStringLiteral("dl/a.iff"), QStringLiteral("dl/sub/b.iff")};
    EXPECT_EQ(Relative(t, GatherObjectFiles({{dl, true}, {dl, true}})), all);
    EXPECT_EQ(Relative(t, GatherObjectFiles({{dl, false}, {dl, true}})), all);
    EXPECT_EQ(Relative(t, GatherObjectFiles({{dl, true}, {dl, false}})), all);
    EXPECT_EQ(Relative(t, GatherObjectFiles({{dl, false}, {dl, false}})),
              QStringList{QStringLiteral("dl/a.iff")});
}

TEST(GatherObjectFiles, LinksUpTheTreeAreNotFollowed)
{
    Tree t;
    t.file(QStringLiteral("dl/a.iff"));
    t.file(QStringLiteral("dl/sub/b.iff"));
    t.link(t.path(QStringLiteral("dl")), QStringLiteral("dl/sub/loop")); // to an ancestor
    t.link(QStringLiteral(".."), QStringLiteral("dl/sub/up"));           // relative, upward
    t.link(QStringLiteral("/"), QStringLiteral("dl/z:"));                // a Wine drive link
    t.link(t.root(), QStringLiteral("dl/root"));
    const auto files = GatherObjectFiles({{t.path(QStringLiteral("dl/")), true}});
    EXPECT_EQ(Relative(t, files),
              (QStringList{QStringLiteral("dl/a.iff"), QStringLiteral("dl/sub/b.iff")}));
}

TEST(GatherObjectFiles, LinkedFoldersAreWalkedOnce)
{
    Tree t;
    t.file(QStringLiteral("store/s.iff"));
    t.file(QStringLiteral("dl/d.iff"));
    t.link(t.path(QStringLiteral("store")), QStringLiteral("dl/linkA"));
    t.link(t.path(QStringLiteral("store")), QStringLiteral("dl/linkB"));
    t.link(t.path(QStringLiteral("dl")), QStringLiteral("dl2"));
    const auto files = GatherObjectFiles(
        {{t.path(QStringLiteral("dl/")), true}, {t.path(QStringLiteral("dl2/")), true}});
    // Reached through the first link by name; the second link and the second entry, which
    // is the same folder by another name, add nothing.
    EXPECT_EQ(Relative(t, files),
              (QStringList{QStringLiteral("dl/d.iff"), QStringLiteral("dl/linkA/s.iff")}));
}

TEST(GatherObjectFiles, LinkedFilesAreListedDanglingOnesAreNot)
{
    Tree t;
    t.file(QStringLiteral("store/real.iff"));
    t.folder(QStringLiteral("dl"));
    t.link(t.path(QStringLiteral("store/real.iff")), QStringLiteral("dl/alias.iff"));
    t.link(t.path(QStringLiteral("store/gone.iff")), QStringLiteral("dl/broken.iff"));
    EXPECT_EQ(Relative(t, GatherObjectFiles({{t.path(QStringLiteral("dl/")), false}})),
              QStringList{QStringLiteral("dl/alias.iff")});
}
