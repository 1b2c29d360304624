#include "Trash.h"

#include <QFile>

bool MoveToTrash(const QString& path, QString* error, QString* trashedPath)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (file.moveToTrash()) {
        // After the move the file object names the file's place in the trash.
        if (trashedPath)
            *trashedPath = file.fileName();
        return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}
