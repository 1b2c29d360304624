#include "Trash.h"

#include <QFile>

bool MoveToTrash(const QString& path, QString* error)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (file.moveToTrash())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
