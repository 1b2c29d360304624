// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestEnv.h"
#include "FileGatherer.h"

namespace
{

// A folder tree in a temporary folder; paths are relative to its root.
struct Tree {
    QTemporaryDir dir;
    QString at(const QString& relative) const { return dir.path() + QLatin1Char('/') + relative; }
    void files(std::initializer_list<const char*> relatives) const
    {
        for (const char* r : relatives)
            MakeFile(at(QLatin1String(r)));
    }
    // The gathered files relative to the root, in order; each path must end in its file name.
    QString gather(const QList<FolderEntry>& folders) const
    {
        QStringList out;
        for (const ObjectFile& f : GatherObjectFiles(folders)) {
            EXPECT_TRUE(f.FullPath.endsWith(QLatin1Char('/') + f.FileName));
            out << f.FullPath.mid(dir.path().size() + 1);
        }
        return out.join(' ');
    }
};

} // namespace

TEST(GatherObjectFiles, IffFilesOfAnyCaseByNameThenSubfoldersEachOnce)
{
    Tree t;
    t.files({"dl/b.iff", "dl/A.IFF", "dl/c.Iff", "dl/a2.iff", "dl/notes.txt", "dl/x.iffx",
             "dl/far.far", "dl/.hidden.iff", "dl/.cache/h.iff", "dl/b/2.iff", "dl/b/1.iff",
             "dl/a/x/deep.iff", "dl/a/top.iff", "other/o.iff"});
    QDir().mkpath(t.at(QStringLiteral("dl/folder.iff")));
    EXPECT_EQ(t.gather({{t.at("dl"), true},
                        {t.at("missing/"), true},
                        {t.at("dl/b.iff/"), true},
                        {QString(), true},
                        {t.at("other/"), false}}),
              "dl/A.IFF dl/a2.iff dl/b.iff dl/c.Iff dl/a/top.iff dl/a/x/deep.iff dl/b/1.iff "
              "dl/b/2.iff other/o.iff");
    EXPECT_EQ(t.gather({{t.at("dl/b/"), false}}), "dl/b/1.iff dl/b/2.iff");

    // Folders below an entry with subfolders are listed through it.
    t.files({"Downloads/d.iff", "Downloads/Walls/w.iff", "Downloads2/e.iff"});
    const QString dl = t.at("Downloads/"), walls = t.at("Downloads/Walls/");
    // Whether the inner entry comes before or after; a sibling that shares the name's
    // beginning is not below.
    EXPECT_EQ(t.gather({{walls, false}, {dl, true}, {t.at("Downloads2/"), false}}),
              "Downloads/d.iff Downloads/Walls/w.iff Downloads2/e.iff");
    EXPECT_EQ(t.gather({{walls, false}, {dl, false}}), "Downloads/Walls/w.iff Downloads/d.iff");
    // Exact duplicates are listed once, by the entry that covers most.
    EXPECT_EQ(t.gather({{dl, true}, {dl, true}}), "Downloads/d.iff Downloads/Walls/w.iff");
    EXPECT_EQ(t.gather({{dl, false}, {dl, true}}), "Downloads/d.iff Downloads/Walls/w.iff");
    EXPECT_EQ(t.gather({{dl, false}, {dl, false}}), "Downloads/d.iff");
    // A hidden folder is not walked through its parent, so an entry for it is listed itself.
    t.files({"Downloads/.keep/k.iff", "Downloads/Walls/.old/o.iff"});
    EXPECT_EQ(
        t.gather(
            {{dl, true}, {t.at("Downloads/.keep/"), false}, {t.at("Downloads/Walls/.old/"), true}}),
        "Downloads/d.iff Downloads/Walls/w.iff Downloads/.keep/k.iff Downloads/Walls/.old/o.iff");
    // A path that only contains another (.../copy/<root>/Downloads/) is not below it.
    const QString copy = "copy" + dl;
    MakeFile(t.at(copy + "c.iff"));
    EXPECT_EQ(t.gather({{dl, true}, {t.at(copy), false}}),
              "Downloads/d.iff Downloads/Walls/w.iff " + copy + "c.iff");
}

TEST(GatherObjectFiles, LinkedFoldersAreWalkedOnceAndNeverUpTheTree)
{
    Tree t;
    t.files({"dl/a.iff", "dl/sub/b.iff", "store/s.iff", "store/gone.iff"});
    const std::pair<QString, const char*> links[] = {
        {t.at("dl"), "dl/sub/loop"},
        {"..", "dl/sub/up"},
        {"/", "dl/z:"}, // as a Wine prefix's drive link
        {t.dir.path(), "dl/root"},
        {t.at("store"), "dl/linkA"},
        {t.at("store"), "dl/linkB"},
        {t.at("dl"), "dl2"},
        {t.at("store/s.iff"), "dl/alias.iff"},
        {t.at("store/gone.iff"), "dl/broken.iff"}};
    for (const auto& [target, link] : links)
        ASSERT_TRUE(QFile::link(target, t.at(link))) << link;
    QFile::remove(t.at("store/gone.iff"));
    EXPECT_EQ(t.gather({{t.at("dl/"), true}, {t.at("dl2/"), true}}),
              "dl/a.iff dl/alias.iff dl/linkA/s.iff dl/sub/b.iff");
}
