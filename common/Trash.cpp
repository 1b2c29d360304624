#include "Trash.h"

#include <QFile>

bool MoveToTrash(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFile::moveToTrash(path);
}
