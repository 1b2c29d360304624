// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameArchives.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace
{

bool NameLess(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// Folders directly inside folder, names in any case, sorted by name.
QStringList Subfolders(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}

QString Child(const QString& folder, const QString& name)
{
    for (const QString& candidate : Subfolders(folder)) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(candidate);
    }
    return QString();
}

void AddArchives(const QString& folder, QStringList* archives)
{
    if (folder.isEmpty())
        return;
    QStringList names;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        if (info.fileName().endsWith(QLatin1String(".far"), Qt::CaseInsensitive))
            names << info.fileName();
    }
    std::sort(names.begin(), names.end(), NameLess);
    for (const QString& name : std::as_const(names))
        *archives << QDir(folder).filePath(name);
}

} // namespace

QStringList FindGameArchives(const QString& gameFolder)
{
    QStringList archives;
    if (gameFolder.isEmpty() || !QFileInfo(gameFolder).isDir())
        return archives;
    const QString gameData = Child(gameFolder, QStringLiteral("GameData"));
    if (!gameData.isEmpty())
        AddArchives(Child(gameData, QStringLiteral("Objects")), &archives);
    AddArchives(Child(gameFolder, QStringLiteral("ExpansionShared")), &archives);
    AddArchives(Child(gameFolder, QStringLiteral("Deluxe")), &archives);
    for (const QString& name : Subfolders(gameFolder)) {
        if (name.startsWith(QLatin1String("ExpansionPack"), Qt::CaseInsensitive))
            AddArchives(QDir(gameFolder).filePath(name), &archives);
    }
    return archives;
}
