// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileGatherer.h"

#include "modGeneral.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace
{

// An empty path stays empty: it names no folder, least of all the root.
QString WithSlash(const QString& path)
{
    return path.isEmpty() || path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

// Entry j lists entry i's files already. A folder below one that includes subfolders is
// listed through it: the test is a prefix test on whole paths, since a path that merely
// occurs inside another (/home/me/objects/ in /mnt/copy/home/me/objects/) is not below it.
// Entries with exactly the same path: the one that also covers subfolders wins, and of
// equals the first; so such a pair is listed once, never hidden by each other.
bool Covers(const QList<FolderEntry>& folders, const QStringList& paths, qsizetype j, qsizetype i)
{
    const FolderEntry& a = folders[j];
    const FolderEntry& b = folders[i];
    if (paths[i] == paths[j]) {
        if (a.IncludeSubfolders != b.IncludeSubfolders)
            return a.IncludeSubfolders;
        return j < i;
    }
    if (!a.IncludeSubfolders || paths[j].isEmpty() || !paths[i].startsWith(paths[j]))
        return false;
    // The walk passes over hidden folders, so a folder at or below one of them is listed by
    // its own entry.
    const QString below = paths[i].mid(paths[j].size());
    return !below.startsWith(QLatin1Char('.')) && !below.contains(QLatin1String("/."));
}

// Windows lists by name without regard to case; names equal but for case keep a fixed order.
bool NameLess(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// canonical "" stands for the root folder.
bool IsSameOrAbove(const QString& folder, const QString& other)
{
    return folder.isEmpty() || other == folder ||
           (other.startsWith(folder) && other.at(folder.size()) == QLatin1Char('/'));
}

class Walker
{
public:
    explicit Walker(QList<ObjectFile>& out) : m_out(out) {}

    // folder ends in "/"; canonical is its canonical path, or empty for a walk without
    // subfolders (which needs no loop guard).
    void list(const QString& folder, bool withSubfolders, const QString& canonical)
    {
        if (withSubfolders) {
            if (m_walked.contains(canonical))
                return; // reached again through a link
            m_walked.insert(canonical);
        }
        QStringList files;
        QList<QPair<QString, bool>> subfolders; // name, reached through a link
        // Hidden entries (dot-files) are left out: PathExists treats them as absent, so a
        // listed hidden file could not be opened.
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            const QString name = info.fileName();
            if (info.isDir()) {
                if (withSubfolders)
                    subfolders.append({name, info.isSymLink()});
            } else if (name.endsWith(QLatin1String(".iff"), Qt::CaseInsensitive)) {
                files << name;
            }
        }
        std::sort(files.begin(), files.end(), NameLess);
        for (const QString& name : std::as_const(files))
            m_out.append(ObjectFile{name, folder + name});
        if (!withSubfolders)
            return;
        std::sort(subfolders.begin(), subfolders.end(),
                  [](const auto& a, const auto& b) { return NameLess(a.first, b.first); });
        for (const auto& [name, isLink] : std::as_const(subfolders)) {
            const QString path = folder + name + QLatin1Char('/');
            // Only a link can lead back up the tree; other folders' real paths follow
            // from their parent's without asking the file system.
            const QString real =
                isLink ? QFileInfo(path).canonicalFilePath() : canonical + QLatin1Char('/') + name;
            if (real.isEmpty())
                continue; // vanished meanwhile
            const QString key = real == QLatin1String("/") ? QString() : real;
            // A link to a folder above (a Wine drive link to "/", a "loop" to a parent)
            // would list the tree again, or the whole disk.
            if (isLink && IsSameOrAbove(key, canonical))
                continue;
            list(path, true, key);
        }
    }

private:
    QList<ObjectFile>& m_out;
    QSet<QString> m_walked;
};

} // namespace

QList<ObjectFile> GatherObjectFiles(const QList<FolderEntry>& folders)
{
    QStringList paths;
    paths.reserve(folders.size());
    for (const FolderEntry& entry : folders)
        paths << WithSlash(entry.Path);

    QList<ObjectFile> files;
    Walker walker(files);
    for (qsizetype i = 0; i < folders.size(); ++i) {
        if (!PathExists(paths[i], true))
            continue;
        bool covered = false;
        for (qsizetype j = 0; j < folders.size() && !covered; ++j)
            covered = j != i && Covers(folders, paths, j, i);
        if (covered)
            continue;
        const bool withSubfolders = folders[i].IncludeSubfolders;
        QString canonical;
        if (withSubfolders) {
            canonical = QFileInfo(paths[i]).canonicalFilePath();
            if (canonical.isEmpty())
                continue;
            if (canonical == QLatin1String("/"))
                canonical.clear(); // children are then "/name"
        }
        walker.list(paths[i], withSubfolders, canonical);
    }
    return files;
}
