// SPDX-License-Identifier: GPL-3.0-or-later
#include "Neighbourhoods.h"

#include "GameLocator.h"

#include <QDir>
#include <QFileInfo>

namespace
{

const QString kSavedGames = QStringLiteral("Saved Games/Electronic Arts/The Sims 25");

// The subfolder of parent named name in any case; empty when there is none.
QString ChildFolder(const QString& parent, const QString& name)
{
    const QStringList names = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& child : names) {
        if (child.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(parent).filePath(child);
    }
    return QString();
}

// The subfolders of path, each part matched in any case; empty when one is missing.
QString FolderPath(const QString& root, const QString& path)
{
    QString current = root;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        current = ChildFolder(current, part);
        if (current.isEmpty())
            break;
    }
    return current;
}

QStringList UserDataFolders(const QString& parent)
{
    QStringList found;
    for (int n = 1; n <= 8; ++n) {
        const QString name =
            n == 1 ? QStringLiteral("UserData") : QStringLiteral("UserData%1").arg(n);
        const QString folder = ChildFolder(parent, name);
        if (!folder.isEmpty())
            found << folder;
    }
    return found;
}

// The re-release's copies in the prefix the game folder belongs to.
QStringList SavedCopies(const QString& gameFolder)
{
    const QString path = QDir::cleanPath(QDir(gameFolder).absolutePath());
    if (!path.contains(QStringLiteral("/drive_c/")) &&
        !path.contains(QStringLiteral("/steamapps/common/")))
        return {};
    const QString users =
        FolderPath(PrefixOfGameFolder(gameFolder), QStringLiteral("drive_c/users"));
    if (users.isEmpty())
        return {};
    QStringList found;
    const QStringList names = QDir(users).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& user : names) {
        const QString saved = FolderPath(QDir(users).filePath(user), kSavedGames);
        if (!saved.isEmpty())
            found += UserDataFolders(saved);
    }
    return found;
}

} // namespace

QStringList FindNeighbourhoods(const QString& gameFolder)
{
    if (gameFolder.isEmpty() || !QFileInfo(gameFolder).isDir())
        return {};
    const QStringList saved = SavedCopies(gameFolder);
    return saved.isEmpty() ? UserDataFolders(gameFolder) : saved;
}

QStringList LotFilesOf(const QString& neighbourhood)
{
    const QString houses = ChildFolder(neighbourhood, QStringLiteral("Houses"));
    if (houses.isEmpty())
        return {};
    QStringList files;
    const QDir dir(houses);
    for (const QString& name :
         dir.entryList({QStringLiteral("House*.iff")}, QDir::Files, QDir::Name | QDir::IgnoreCase))
        files << dir.filePath(name);
    return files;
}
