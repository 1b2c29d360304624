// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShownPath.h"

#include <QDir>
#include <QFileInfo>

QString ShownGamePath(const QString& file, const QString& gameFolder)
{
    if (gameFolder.isEmpty())
        return file;
    const QString game = QDir::cleanPath(QFileInfo(gameFolder).absoluteFilePath());
    const QString path = QDir::cleanPath(file);
    if (path.startsWith(game + '/'))
        return path.mid(game.size() + 1);
    return file;
}
